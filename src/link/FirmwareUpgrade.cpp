#include "link/FirmwareUpgrade.h"

#include <cctype>

#include "protocol/HexText.h"

namespace varkunda::link {

namespace {

const char* StepText(BootloaderStep step) {
    switch (step) {
        case BootloaderStep::Sync:
            return "the connection to the bootloader";
        case BootloaderStep::EraseCommand:
            return "the erase command";
        case BootloaderStep::GlobalErase:
            return "the erase of the flash";
        case BootloaderStep::WriteCommand:
            return "the write command";
        case BootloaderStep::WriteAddress:
            return "the write address";
        case BootloaderStep::WriteData:
            return "the written data";
        case BootloaderStep::ReadCommand:
            return "the read-back command";
        case BootloaderStep::ReadAddress:
            return "the read-back address";
        case BootloaderStep::ReadLength:
            return "the read-back length";
        case BootloaderStep::ReadData:
            return "the read-back data";
        case BootloaderStep::GoCommand:
            return "the start command";
        case BootloaderStep::GoAddress:
            return "the start address";
    }
    return "a bootloader step";
}

std::string FailureText(const BootloaderError& error) {
    switch (error.failure) {
        case BootloaderFailure::NotAcknowledged:
            return "was not acknowledged";
        case BootloaderFailure::UnexpectedAnswer:
            return "was answered with 0x" + protocol::HexByte(error.answer);
        case BootloaderFailure::NoAnswer:
            return "got no answer in time";
        case BootloaderFailure::LinkFailed:
            return "failed: the device did not respond";
        case BootloaderFailure::ReadBackDiffers:
            return "differs from the image at byte " + std::to_string(error.offset);
        case BootloaderFailure::BadImage:
            return "was refused: the image is empty or too large";
        case BootloaderFailure::BadFirmwareNumber:
            return "was refused: the firmware number is not between 5 and 13";
    }
    return "failed";
}

bool ReadMemoryRefused(const BootloaderResult& result) {
    return result && result->step == BootloaderStep::ReadCommand && result->chunk == 0 &&
           result->failure == BootloaderFailure::NotAcknowledged;
}

}  // namespace

std::string BootloaderErrorText(const BootloaderError& error) {
    std::string text = std::string(StepText(error.step));
    if (error.chunk) text += " of chunk " + std::to_string(*error.chunk);
    text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return text + " " + FailureText(error) + ".";
}

BootloaderResult RunFirmwareUpgrade(Transport& transport, std::span<const std::uint8_t> image,
                                    unsigned firmwareNumber, const FirmwareUpgradeHooks& hooks) {
    if (!BootloaderClient::ImageFits(image))
        return BootloaderError{.failure = BootloaderFailure::BadImage,
                               .step = BootloaderStep::GlobalErase};
    if (firmwareNumber < bootloader::kOldestFirmware ||
        firmwareNumber > bootloader::kNewestFirmware)
        return BootloaderError{.failure = BootloaderFailure::BadFirmwareNumber,
                               .step = BootloaderStep::GlobalErase};
    BootloaderClient client(transport);
    if (auto error = client.EraseAll()) return error;
    if (auto error = client.WriteImage(image, hooks.written)) return error;
    if (hooks.readBack) {
        const BootloaderResult verified = client.VerifyImage(image, hooks.verified);
        if (ReadMemoryRefused(verified))
            transport.log().Print("Read Memory refused: the image is not checked");
        else if (verified)
            return verified;
    }
    if (auto error = client.WriteVersionRecord(firmwareNumber)) return error;
    if (hooks.beforeGo) hooks.beforeGo();
    if (auto error = client.Go()) return error;
    D2xxAccess& access = transport.access();
    access.SetLineParameters(LineMode::NormalLine);
    access.SetDeviceDataCharacteristics();
    return std::nullopt;
}

}  // namespace varkunda::link
