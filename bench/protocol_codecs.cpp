// Micro-benchmarks of the protocol codecs: reply decoding, dial conversions and the
// store message. None of them should cost anything next to the link: at 115 200 baud
// one byte takes about 87 us, a 102-number status reply about 30 ms on the wire.
#include "protocol/Messages.h"
#include "protocol/ReplyDecoder.h"
#include "protocol/StatusReply.h"
#include "protocol/ValueEncoding.h"

#include <benchmark/benchmark.h>

#include <array>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace varkunda::protocol;

std::vector<std::uint8_t> StatusReplyText() {
    std::mt19937 random(14);
    std::string text;
    for (std::size_t k = 0; k < kStatusReplyLength; ++k)
        text += std::to_string(random() % 256) + "\r\n";
    return {text.begin(), text.end()};
}

std::vector<std::uint8_t> RandomBytes(std::size_t count, std::uint8_t first) {
    std::mt19937 random(13);
    std::vector<std::uint8_t> bytes(count);
    for (auto& byte : bytes) byte = static_cast<std::uint8_t>(random());
    bytes[0] = first;
    return bytes;
}

void BM_DecodeStatusReply(benchmark::State& state) {
    const auto reply = StatusReplyText();
    for (auto _ : state) benchmark::DoNotOptimize(DecodeReplyNumbers(reply));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * reply.size()));
}
BENCHMARK(BM_DecodeStatusReply);

void BM_DecodeAndParseStatusReply(benchmark::State& state) {
    const auto reply = StatusReplyText();
    for (auto _ : state) benchmark::DoNotOptimize(ParseStatusReply(DecodeReplyNumbers(reply)));
}
BENCHMARK(BM_DecodeAndParseStatusReply);

void BM_CountReplyLines(benchmark::State& state) {
    const auto reply = StatusReplyText();
    for (auto _ : state) benchmark::DoNotOptimize(CountReplyLines(reply));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * reply.size()));
}
BENCHMARK(BM_CountReplyLines);

// An EEPROM dump: the marker byte and 16 384 bytes of contents.
void BM_DecodeEepromDumpSized(benchmark::State& state) {
    const auto dump = RandomBytes(kEepromDumpLength, kEepromDumpMarker);
    for (auto _ : state) benchmark::DoNotOptimize(DecodeReplyNumbers(dump));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * dump.size()));
}
BENCHMARK(BM_DecodeEepromDumpSized);

// For comparison: a whole 64 KB receive buffer, as scanned when stale bytes were decoded too.
void BM_DecodeWholeReceiveBuffer(benchmark::State& state) {
    const auto buffer = RandomBytes(65536, '1');
    for (auto _ : state) benchmark::DoNotOptimize(DecodeReplyNumbers(buffer));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * buffer.size()));
}
BENCHMARK(BM_DecodeWholeReceiveBuffer);

void BM_DialEncodeAllAngles(benchmark::State& state) {
    for (auto _ : state)
        for (int angle = -180; angle <= 180; ++angle)
            benchmark::DoNotOptimize(DialAngleToValue(angle));
    state.SetItemsProcessed(state.iterations() * 361);
}
BENCHMARK(BM_DialEncodeAllAngles);

void BM_DialDecodeAllAngles(benchmark::State& state) {
    std::vector<std::uint32_t> values;
    for (int angle = -180; angle <= 180; ++angle) values.push_back(DialAngleToValue(angle));
    for (auto _ : state)
        for (std::uint32_t value : values)
            benchmark::DoNotOptimize(ValueToDialAngle(value, kDialFullScale));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(values.size()));
}
BENCHMARK(BM_DialDecodeAllAngles);

void BM_StoreParametersMessage(benchmark::State& state) {
    const std::array<std::uint32_t, 9> values{0x3FC000, 0x400000, 0x7FE000, 1, 0,
                                              0x14E000, 1,        0,        0x6A8000};
    for (auto _ : state) benchmark::DoNotOptimize(StoreParametersMessage(values));
}
BENCHMARK(BM_StoreParametersMessage);

}  // namespace

BENCHMARK_MAIN();
