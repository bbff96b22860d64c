// Writes every fuzz target's seed corpus to DIR/NAME: real messages, made by the
// editor's own message builders and answered by the software pedal, so the seeds
// follow the protocol as it is built.
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/HexText.h"
#include "protocol/Messages.h"
#include "protocol/PresetFile.h"
#include "sim/Flash.h"
#include "sim/PedalSimulator.h"
#include "tools/TestImages.h"

namespace protocol = varkunda::protocol;
namespace sim = varkunda::sim;
using Bytes = std::vector<std::uint8_t>;

namespace {

std::filesystem::path gRoot;

void Seed(const std::string& target, const std::string& name, const Bytes& bytes) {
    const auto folder = gRoot / target;
    std::filesystem::create_directories(folder);
    std::ofstream(folder / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

Bytes Text(std::string_view text) { return {text.begin(), text.end()}; }
Bytes FromHex(std::string_view hex) { return *protocol::HexTextToBytes(hex); }

Bytes Join(const std::vector<Bytes>& parts) {
    Bytes joined;
    for (const Bytes& part : parts) joined.insert(joined.end(), part.begin(), part.end());
    return joined;
}

// What the software pedal answers to `request`.
Bytes Answer(sim::PedalSimulator& pedal, const Bytes& request) {
    pedal.hostWrite(request.data(), request.size());
    Bytes answer(pedal.hostReadable());
    answer.resize(pedal.hostRead(answer.data(), answer.size()));
    return answer;
}

Bytes TuningData() {
    Bytes message(641, 0x00);
    message[0] = protocol::command::kTuningData;
    for (std::size_t i = 1; i < message.size(); ++i) message[i] = static_cast<std::uint8_t>(i * 7);
    return message;
}

// Every message of the command set as the editor writes it, but the one that enters
// the bootloader.
std::vector<Bytes> EditorMessages() {
    const std::uint32_t values[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    const std::uint8_t flags[5] = {1, 0, 1, 0, 1};
    const std::uint16_t fields[5] = {0x0027, 0xFFFF, 0x0031, 0xFFFF, protocol::kRemoteBypass};
    return {
        FromHex(protocol::StatusRequestMessage()),
        FromHex(protocol::SetParameterMessage(0x0027, 0x003FC000)),
        FromHex(protocol::BypassMessage(true)),
        FromHex(protocol::StoreParametersMessage(values)),
        FromHex(protocol::AssignMessage(flags, fields)),
        FromHex(protocol::FootswitchMessage(true, false)),
        FromHex(protocol::TuningMessage(3, -2)),
        FromHex(protocol::InstrumentRangeMessage(protocol::kInstrumentRangeLow)),
        FromHex(protocol::MidiChannelMessage(5)),
        FromHex(protocol::StoreBypassStatusMessage(true)),
        FromHex(protocol::EraseEepromMessage("51")),
        FromHex(protocol::ReadEepromMessage("50")),
        TuningData(),  // the two long ones last
        FromHex(varkunda::images::AlgorithmTestImageHex()),
    };
}

Bytes AddressFrame(std::uint32_t address) {
    Bytes frame;
    for (int shift = 24; shift >= 0; shift -= 8)
        frame.push_back(static_cast<std::uint8_t>(address >> shift));
    frame.push_back(frame[0] ^ frame[1] ^ frame[2] ^ frame[3]);
    return frame;
}

Bytes DataFrame(const Bytes& data) {
    Bytes frame{static_cast<std::uint8_t>(data.size() - 1)};
    frame.insert(frame.end(), data.begin(), data.end());
    std::uint8_t checksum = 0;
    for (std::uint8_t byte : frame) checksum ^= byte;
    frame.push_back(checksum);
    return frame;
}

// A flashing session as a bootloader client writes it: sync, Get, Get Version, Get ID,
// global erase, a write, a read back, the version record and Go, then a status request
// to the firmware that started.
Bytes BootloaderSession() {
    const Bytes image(varkunda::images::FirmwareTestImage(13).begin(),
                      varkunda::images::FirmwareTestImage(13).begin() + 256);
    return Join({{0x7F},
                 {0x00, 0xFF},
                 {0x01, 0xFE},
                 {0x02, 0xFD},
                 {0x43, 0xBC},
                 {0xFF, 0x00},
                 {0x31, 0xCE},
                 AddressFrame(sim::kFlashStart),
                 DataFrame(image),
                 {0x11, 0xEE},
                 AddressFrame(sim::kFlashStart),
                 {0x0F, 0xF0},
                 {0x31, 0xCE},
                 AddressFrame(sim::kVersionRecordAddress),
                 DataFrame({0, 0, 0, 0, 0, 0, 0, 13}),
                 {0x21, 0xDE},
                 AddressFrame(sim::kFlashStart),
                 {0x02, 0x00}});
}

// [length, 2 bytes little-endian][control][bytes]: one tick of the reply timer.
Bytes Tick(const Bytes& bytes, std::uint8_t control = 0) {
    Bytes tick{static_cast<std::uint8_t>(bytes.size()),
               static_cast<std::uint8_t>(bytes.size() >> 8), control};
    tick.insert(tick.end(), bytes.begin(), bytes.end());
    return tick;
}

void ReplySeeds(const Bytes& statusReply, const Bytes& uploadAnswer) {
    Seed("reply_decoder", "status_reply", statusReply);
    Seed("reply_decoder", "upload_answer", uploadAnswer);
    Seed("reply_decoder", "three_numbers", Text("12\r\n0\r\n255\r\n"));
    Seed("reply_decoder", "modulo_and_repeats", Text("300\r\n1234\r\n\r\n7\r\n"));
    Seed("reply_decoder", "hex_digit_first",
         Text("\xA5"
              "12\r\n"));
}

void StatusSeeds() {
    sim::PedalSimulator pedal;
    Seed("status_reply", "factory", pedal.statusNumbers());
    sim::PedalIdentity old;
    old.firmware = 12;
    old.algorithmNumber = 13;
    Seed("status_reply", "old_firmware", sim::PedalSimulator(old).statusNumbers());
    Bytes shortReply = pedal.statusNumbers();
    shortReply.resize(10);
    Seed("status_reply", "short", shortReply);
    Seed("status_reply", "decimal_text", Text(" 0014"));
}

void ImageSeeds() {
    const std::string image = varkunda::images::AlgorithmTestImageHex();
    Seed("algorithm_image", "builtin", Text(image));
    Seed("algorithm_image", "table_only", Text(image.substr(0, 90)));
    std::string lower = image.substr(0, 90);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    Seed("algorithm_image", "lower_case", Text(lower));
    Seed("algorithm_image", "one_short", Text(image.substr(0, 89)));
}

void UnaskedSeeds(const Bytes& dump) {
    Seed("unasked_input", "dump", Tick(dump));
    const Bytes first(dump.begin(), dump.begin() + 5000),
        middle(dump.begin() + 5000, dump.begin() + 12000), last(dump.begin() + 12000, dump.end());
    Seed("unasked_input", "dump_in_three_ticks",
         Join({Tick(first), Tick(middle, 1), Tick(last, 1)}));
    Seed("unasked_input", "stalled_dump",
         Join({Tick(Bytes(dump.begin(), dump.begin() + 100)), Tick({}, 60), Tick(dump)}));
    Seed("unasked_input", "numbers_garbage_failure",
         Join({Tick(Text("12\r\n0\r\n")), Tick(Text("#?~!")), Tick(Text("1F"), 0x80), Tick({})}));
}

void PedalSeeds(const std::vector<Bytes>& messages) {
    const Bytes all = Join(messages);
    Seed("pedal_framer", "every_message", all);
    Seed("pedal_firmware", "every_message_at_once", Join({{0, 0}, all}));
    // Byte by byte without the two long messages, which keeps the seed quick to run.
    const std::vector<Bytes> shortMessages(messages.begin(), messages.end() - 2);
    Seed("pedal_firmware", "short_messages_bytewise", Join({{1, 0}, Join(shortMessages)}));
    // A message cut by a pause, then whole ones.
    Seed("pedal_firmware", "paused_in_a_message",
         Join({{4, 120}, FromHex(protocol::SetParameterMessage(0x27, 5)), messages[0]}));
    Seed("pedal_firmware", "into_the_bootloader",
         Join({{0, 0}, FromHex(protocol::EnterBootloaderMessage()), {0x7F, 0x00, 0xFF}}));
    const Bytes session = BootloaderSession();
    Seed("pedal_bootloader", "flashing_session", Join({{0, 0}, session}));
    Seed("pedal_bootloader", "flashing_session_bytewise", Join({{1, 0}, session}));
    Seed("pedal_bootloader", "page_erase_and_refusals",
         Join({{0, 0},
               {0x7F, 0x43, 0xBC, 0x01, 0x00, 0x01, 0x00, 0x31, 0x31, 0x11, 0xEE},
               AddressFrame(0x40000000),
               {0x21, 0xDE},
               AddressFrame(0x20000000)}));
}

void PresetSeeds() {
    const std::uint32_t values[protocol::kParameterCount] = {
        0x003FC000, 0x00000001, 0x7FFFFFFF, 0x00200000, 0, 1, 2, 3,          4,         5,
        0x00100000, 0x00080000, 0x0000FFFF, 6,          7, 8, 9, 0x00400000, 0x00000010};
    const std::string saved = protocol::PresetFileBytes(values);
    Seed("preset_file", "saved", Text(saved));
    Seed("preset_file", "seventeen_values", Text(protocol::PresetFileBytes(std::span(values, 17))));
    std::string lower = saved.substr(protocol::kUtf8ByteOrderMark.size());
    for (char& c : lower)
        c = c == '\r' ? '\n' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    Seed("preset_file", "lower_case_lf_no_mark", Text(lower + "\n\n"));
    Seed("preset_file", "one_short_digit", Text(saved.substr(0, saved.size() - 1)));
}

void VersionSeeds() {
    Seed("version_body", "plain", Text("1.18"));
    Seed("version_body", "with_mark_and_break", Text("\xEF\xBB\xBF 2.0\r\n"));
    Seed("version_body", "major_only", Text("3\n"));
    Seed("version_body", "portal_page",
         Text("<html>\r\n<head><title>Sign in</title></head>\r\n<body>Please sign in to use "
              "this network.</body></html>\r\n"));
}

void AlgorithmFileSeeds() {
    const Bytes image = FromHex(varkunda::images::AlgorithmTestImageHex());
    Seed("algorithm_file", "builtin", image);
    Seed("algorithm_file", "cut_short", Bytes(image.begin(), image.begin() + 40));
    Bytes wrongCode = image;
    wrongCode[0] = 0x02;
    Seed("algorithm_file", "not_an_upload", wrongCode);
}

// What the software pedal's bootloader answers to each frame of a two-chunk upgrade, as
// the bootloader client's fake line replays them: [drip control][drip byte] then per
// frame [length, 2 bytes little-endian][answer].
void BootloaderClientSeeds() {
    sim::PedalSimulator pedal;
    Answer(pedal, FromHex(protocol::EnterBootloaderMessage()));
    sim::LineSettings line;
    line.parity = 2;
    pedal.setLineSettings(line);
    const Bytes image(300, 0x5A);
    const Bytes chunks[] = {Bytes(image.begin(), image.begin() + 256),
                            Bytes(image.begin() + 256, image.end())};
    std::vector<Bytes> frames = {{0x7F}, {0x43, 0xBC}, {0xFF, 0x00}};
    for (std::size_t i = 0; i < 2; ++i)
        frames.insert(frames.end(),
                      {{0x31, 0xCE},
                       AddressFrame(sim::kFlashStart + 256 * static_cast<std::uint32_t>(i)),
                       DataFrame(chunks[i])});
    for (std::size_t i = 0; i < 2; ++i) {
        const auto n = static_cast<std::uint8_t>(chunks[i].size() - 1);
        frames.insert(frames.end(),
                      {{0x11, 0xEE},
                       AddressFrame(sim::kFlashStart + 256 * static_cast<std::uint32_t>(i)),
                       {n, static_cast<std::uint8_t>(~n)}});
    }
    frames.insert(frames.end(), {{0x31, 0xCE},
                                 AddressFrame(sim::kVersionRecordAddress),
                                 DataFrame({0, 0, 0, 0, 0, 0, 0, 13}),
                                 {0x21, 0xDE},
                                 AddressFrame(sim::kFlashStart)});
    Bytes answers{0, 0};
    for (const Bytes& frame : frames) {
        const Bytes answer = Answer(pedal, frame);
        answers.push_back(static_cast<std::uint8_t>(answer.size()));
        answers.push_back(static_cast<std::uint8_t>(answer.size() >> 8));
        answers.insert(answers.end(), answer.begin(), answer.end());
    }
    Seed("bootloader_client", "upgrade", answers);
    Bytes nackAtErase = answers;
    nackAtErase[2 + 2 + 1 + 2] = 0x1F;  // the erase command's answer
    Seed("bootloader_client", "nack_at_erase", nackAtErase);
    Seed("bootloader_client", "zeros_then_silence", {1, 0x00, 1, 0, 0x00});
    Seed("bootloader_client", "garbage_drip", {1, 0xA5});
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: write_fuzz_seeds DIR\n";
        return 2;
    }
    gRoot = argv[1];
    sim::PedalSimulator pedal;
    const Bytes statusReply = Answer(pedal, FromHex(protocol::StatusRequestMessage()));
    const Bytes uploadAnswer = Answer(pedal, FromHex(varkunda::images::AlgorithmTestImageHex()));
    const Bytes dump = Answer(pedal, FromHex(protocol::ReadEepromMessage("50")));
    if (statusReply.empty() || uploadAnswer.empty() || dump.size() != protocol::kEepromDumpLength) {
        std::cerr << "write_fuzz_seeds: the software pedal did not answer as expected\n";
        return 1;
    }
    ReplySeeds(statusReply, uploadAnswer);
    StatusSeeds();
    ImageSeeds();
    UnaskedSeeds(dump);
    PedalSeeds(EditorMessages());
    PresetSeeds();
    VersionSeeds();
    AlgorithmFileSeeds();
    BootloaderClientSeeds();
    return 0;
}
