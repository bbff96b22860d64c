// The status reply's layout and the readers that turn its numbers into what the
// windows show: any list of decoded numbers.
#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "protocol/Messages.h"
#include "protocol/Parameters.h"
#include "protocol/StatusReply.h"
#include "protocol/ValueEncoding.h"

namespace protocol = varkunda::protocol;

namespace {

// What ParseDecimalDigits must give: blanks, then only decimal digits within 32 bits.
std::optional<std::uint32_t> ReferenceDecimal(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return std::nullopt;
    std::uint32_t number = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data() + first, end, number);
    if (error != std::errc() || stop != end) return std::nullopt;
    return number;
}

void ReadValues(const protocol::StatusReply& reply) {
    protocol::DecodeFootswitchMode(reply.footswitchMode);
    for (std::size_t i = 0; i < protocol::kParameterCount; ++i) {
        const protocol::ParameterInfo& info = protocol::kParameterInfo[i];
        const std::uint32_t value = reply.parameters[i];
        switch (info.kind) {
            case protocol::ParameterKind::Dial: {
                const int angle = protocol::ValueToDialAngle(value, info.fullScale);
                FUZZ_CHECK(angle >= -180 && angle <= 180);
                break;
            }
            case protocol::ParameterKind::Wave:
                protocol::DecodeWave(value);
                break;
            case protocol::ParameterKind::Split:
                protocol::DecodeSplit(value);
                break;
            case protocol::ParameterKind::OnOff:
                protocol::DecodeOnOff(value);
                break;
            case protocol::ParameterKind::CheckBox:
                protocol::DecodeCheckBox(value);
                break;
            case protocol::ParameterKind::PitchTable: {
                const auto entry = protocol::PitchTableIndex(value);
                FUZZ_CHECK(!entry || *entry < protocol::HarmonicPitchTable.size());
                break;
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> numbers(data, size);
    const auto reply = protocol::ParseStatusReply(numbers);
    FUZZ_CHECK(reply.has_value() == (size >= protocol::kStatusReplyLength));
    if (reply) {
        const auto encoded = protocol::EncodeStatusReplyNumbers(*reply);
        FUZZ_CHECK(std::equal(encoded.begin(), encoded.end(), numbers.begin()));
        FUZZ_CHECK(protocol::ParseDecimalDigits(reply->FirmwareVersionText()) == reply->firmware);
        FUZZ_CHECK(reply->AlgorithmVersionText().size() == 4);
        FUZZ_CHECK(reply->EffectNumberText().size() == 2);
        protocol::ParseDecimalDigits(reply->AlgorithmVersionText());
        protocol::ParseDecimalDigits(reply->EffectNumberText());
        ReadValues(*reply);
    }

    const std::string_view text(reinterpret_cast<const char*>(data), size);
    FUZZ_CHECK(protocol::ParseDecimalDigits(text) == ReferenceDecimal(text));
    return 0;
}
