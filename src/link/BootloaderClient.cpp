#include "link/BootloaderClient.h"

#include <algorithm>
#include <array>

#include "protocol/HexText.h"

namespace varkunda::link {

using namespace bootloader;

namespace {

std::array<std::uint8_t, 2> Command(std::uint8_t code) {
    return {code, static_cast<std::uint8_t>(~code)};
}

std::uint8_t Xor(std::span<const std::uint8_t> bytes, std::uint8_t start = 0) {
    for (std::uint8_t byte : bytes) start ^= byte;
    return start;
}

std::size_t ChunkCountOf(std::size_t size) { return (size + kChunkSize - 1) / kChunkSize; }

std::span<const std::uint8_t> ChunkOf(std::span<const std::uint8_t> image, std::size_t i) {
    const std::size_t start = i * kChunkSize;
    return image.subspan(start, std::min(kChunkSize, image.size() - start));
}

BootloaderError ImageRefused() {
    return BootloaderError{.failure = BootloaderFailure::BadImage,
                           .step = BootloaderStep::WriteData};
}

}  // namespace

BootloaderClient::BootloaderClient(Transport& transport, LineMode line)
    : transport_(transport), line_(line) {}

std::uint8_t BootloaderClient::AddressChecksum(std::uint32_t address) {
    return static_cast<std::uint8_t>((address >> 24) ^ (address >> 16) ^ (address >> 8) ^ address);
}

bool BootloaderClient::ImageFits(std::span<const std::uint8_t> image) {
    return !image.empty() && image.size() <= kMaxImageSize;
}

std::optional<std::uint8_t> BootloaderClient::NextByte(std::chrono::milliseconds limit,
                                                       std::optional<LinkError>& error) {
    D2xxAccess& access = transport_.access();
    LinkEnvironment& environment = transport_.environment();
    const auto start = environment.now();
    while (received_.empty()) {
        environment.processEvents();
        if (access.GetDeviceQueueStatus() != ft::OK) {
            error = access.DeviceLoss().value_or(access.LastFailure.value_or(LinkError{}));
            error->kind = LinkErrorKind::ReadFailed;
            return std::nullopt;
        }
        if (access.DeviceQueueCount > 0) {
            const std::uint32_t n = access.ReadDeviceBuffer();
            received_.insert(received_.end(), access.DeviceInBuffer.begin(),
                             access.DeviceInBuffer.begin() + n);
            continue;
        }
        if (environment.now() - start >= limit) return std::nullopt;
        environment.sleep(kFirstBytePollInterval);
    }
    const std::uint8_t byte = received_.front();
    received_.pop_front();
    return byte;
}

BootloaderResult BootloaderClient::SendFrame(std::span<const std::uint8_t> bytes,
                                             BootloaderStep step,
                                             std::optional<std::size_t> chunk) {
    const SendResult sent = transport_.Send(protocol::BytesToHexText(bytes));
    if (sent.ok()) return std::nullopt;
    return BootloaderError{
        .failure = BootloaderFailure::LinkFailed, .step = step, .chunk = chunk, .link = sent.error};
}

BootloaderResult BootloaderClient::ReadAck(BootloaderStep step, std::optional<std::size_t> chunk,
                                           std::chrono::milliseconds limit) {
    const LinkLog& log = transport_.log();
    BootloaderError error{.step = step, .chunk = chunk};
    std::optional<std::uint8_t> answer = NextByte(limit, error.link);
    if (!answer) {
        error.failure = error.link ? BootloaderFailure::LinkFailed : BootloaderFailure::NoAnswer;
        log.AppendDirect("received: ");
        return error;
    }
    log.Print("num of bytes received: 1");
    log.AppendDirect("received: " + protocol::HexByte(*answer));
    if (*answer == kAck) {
        log.AppendDirect("ACK");
        return std::nullopt;
    }
    error.answer = *answer;
    if (*answer == kNack) {
        log.AppendDirect("NOT ACK");
        error.failure = BootloaderFailure::NotAcknowledged;
    } else {
        error.failure = BootloaderFailure::UnexpectedAnswer;
    }
    return error;
}

BootloaderResult BootloaderClient::Exchange(std::span<const std::uint8_t> bytes,
                                            BootloaderStep step, std::optional<std::size_t> chunk,
                                            std::chrono::milliseconds limit) {
    if (auto error = SendFrame(bytes, step, chunk)) return error;
    return ReadAck(step, chunk, limit);
}

BootloaderResult BootloaderClient::Connect() {
    D2xxAccess& access = transport_.access();
    access.SetLineParameters(line_);
    access.SetDeviceDataCharacteristics();
    received_.clear();
    const std::uint8_t sync[] = {kSync};
    if (auto error = SendFrame(sync, BootloaderStep::Sync, std::nullopt)) return error;
    // Some parts send 0x00 before their first ACK; a line that only ever brings zeros is
    // given up when the answer's time limit has passed since the sync.
    BootloaderError error{.step = BootloaderStep::Sync};
    LinkEnvironment& environment = transport_.environment();
    const auto start = environment.now();
    std::optional<std::uint8_t> answer = NextByte(kAckTimeout, error.link);
    while (answer == 0x00 && environment.now() - start < kAckTimeout)
        answer = NextByte(kAckTimeout - (environment.now() - start), error.link);
    transport_.log().AppendDirect("received Byte: " + (answer ? protocol::HexByte(*answer) : ""));
    if (answer == kAck) return std::nullopt;
    if (!answer)
        error.failure = error.link ? BootloaderFailure::LinkFailed : BootloaderFailure::NoAnswer;
    else
        error.failure = *answer == kNack ? BootloaderFailure::NotAcknowledged
                                         : BootloaderFailure::UnexpectedAnswer;
    error.answer = answer.value_or(0);
    return error;
}

BootloaderResult BootloaderClient::EraseAll() {
    transport_.log().AppendDirect("Start Erase Command");
    if (auto error = Exchange(Command(kEraseMemory), BootloaderStep::EraseCommand, std::nullopt))
        return error;
    return Exchange(kGlobalErase, BootloaderStep::GlobalErase, std::nullopt, kGlobalEraseTimeout);
}

BootloaderResult BootloaderClient::SendAddress(std::uint32_t address, BootloaderStep step,
                                               std::optional<std::size_t> chunk) {
    const LinkLog& log = transport_.log();
    log.Print("SEND ADDRESS + CHECKSUM");
    const std::uint8_t checksum = AddressChecksum(address);
    log.Print("Address: " + protocol::HexWord32(address));
    log.Print("address checksum: " + protocol::HexByte(checksum));
    const std::uint8_t frame[] = {
        static_cast<std::uint8_t>(address >> 24), static_cast<std::uint8_t>(address >> 16),
        static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address), checksum};
    return Exchange(frame, step, chunk);
}

BootloaderResult BootloaderClient::WriteMemory(std::uint32_t address,
                                               std::span<const std::uint8_t> data,
                                               std::optional<std::size_t> chunk) {
    const LinkLog& log = transport_.log();
    log.Print("SEND WRITE COMMAND");
    if (auto error = Exchange(Command(kWriteMemory), BootloaderStep::WriteCommand, chunk))
        return error;
    if (auto error = SendAddress(address, BootloaderStep::WriteAddress, chunk)) return error;

    log.Print("SEND N BYTE + DATA + CHECKSUM");
    const auto n = static_cast<std::uint8_t>(data.size() - 1);
    const std::uint8_t checksum = Xor(data, n);
    log.Print("N_byte: " + protocol::HexByte(n));
    log.Print("chunk size: " + std::to_string(data.size()));
    log.Print("data checksum: " + protocol::HexByte(checksum));
    std::vector<std::uint8_t> frame{n};
    frame.insert(frame.end(), data.begin(), data.end());
    frame.push_back(checksum);
    return Exchange(frame, BootloaderStep::WriteData, chunk);
}

BootloaderResult BootloaderClient::WriteImage(std::span<const std::uint8_t> image,
                                              const Progress& progress) {
    if (!ImageFits(image)) return ImageRefused();
    const LinkLog& log = transport_.log();
    log.AppendDirect("Start Write Command");
    log.AppendDirect("");
    const std::size_t total = ChunkCountOf(image.size());
    for (std::size_t i = 0; i < total; ++i) {
        if (progress) progress(i, total);
        const auto address = static_cast<std::uint32_t>(kFlashStart + i * kChunkSize);
        if (auto error = WriteMemory(address, ChunkOf(image, i), i)) return error;
        log.Print("");
    }
    if (progress) progress(total, total);
    return std::nullopt;
}

BootloaderResult BootloaderClient::ReadMemory(std::uint32_t address, std::span<std::uint8_t> out,
                                              std::size_t chunk) {
    if (auto error = Exchange(Command(kReadMemory), BootloaderStep::ReadCommand, chunk))
        return error;
    if (auto error = SendAddress(address, BootloaderStep::ReadAddress, chunk)) return error;
    const auto n = static_cast<std::uint8_t>(out.size() - 1);
    const std::uint8_t length[] = {n, static_cast<std::uint8_t>(~n)};
    if (auto error = Exchange(length, BootloaderStep::ReadLength, chunk)) return error;
    for (std::uint8_t& byte : out) {
        BootloaderError error{.step = BootloaderStep::ReadData, .chunk = chunk};
        const auto next = NextByte(kAckTimeout, error.link);
        if (!next) {
            error.failure =
                error.link ? BootloaderFailure::LinkFailed : BootloaderFailure::NoAnswer;
            return error;
        }
        byte = *next;
    }
    return std::nullopt;
}

BootloaderResult BootloaderClient::VerifyImage(std::span<const std::uint8_t> image,
                                               const Progress& progress) {
    if (!ImageFits(image)) return ImageRefused();
    const std::size_t total = ChunkCountOf(image.size());
    std::vector<std::uint8_t> readBack;
    for (std::size_t i = 0; i < total; ++i) {
        if (progress) progress(i, total);
        const auto expected = ChunkOf(image, i);
        readBack.assign(expected.size(), 0);
        const auto address = static_cast<std::uint32_t>(kFlashStart + i * kChunkSize);
        if (auto error = ReadMemory(address, readBack, i)) return error;
        const auto differs = std::mismatch(expected.begin(), expected.end(), readBack.begin());
        if (differs.first != expected.end())
            return BootloaderError{
                .failure = BootloaderFailure::ReadBackDiffers,
                .step = BootloaderStep::ReadData,
                .chunk = i,
                .offset = static_cast<std::size_t>(differs.first - expected.begin())};
    }
    if (progress) progress(total, total);
    return std::nullopt;
}

BootloaderResult BootloaderClient::WriteVersionRecord(unsigned firmwareNumber) {
    if (firmwareNumber < kOldestFirmware || firmwareNumber > kNewestFirmware)
        return BootloaderError{.failure = BootloaderFailure::BadFirmwareNumber,
                               .step = BootloaderStep::WriteData};
    std::array<std::uint8_t, 8> record{};
    record.back() = static_cast<std::uint8_t>(firmwareNumber);
    return WriteMemory(kVersionRecordAddress, record, std::nullopt);
}

BootloaderResult BootloaderClient::Go() {
    const LinkLog& log = transport_.log();
    log.Print("");
    log.Print("SEND GO COMMAND");
    if (auto error = Exchange(Command(kGo), BootloaderStep::GoCommand, std::nullopt)) return error;
    return SendAddress(kFlashStart, BootloaderStep::GoAddress, std::nullopt);
}

}  // namespace varkunda::link
