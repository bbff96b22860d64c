#include "protocol/Parameters.h"

#include "protocol/HexText.h"

#include <stdexcept>

namespace varkunda::protocol {
namespace {

constexpr char kImageTooShort[] = "The algorithm image is too short to hold its address table";
constexpr char kTableNotHex[] =
    "The algorithm image's address table holds characters that are not hexadecimal";

std::optional<AddressTable> Fail(std::string* error, const char* text) {
    if (error) *error = text;
    return std::nullopt;
}

void CheckIndex(std::size_t i) {
    if (i >= kParameterCount) throw std::out_of_range("parameter index out of range");
}

}  // namespace

std::optional<AddressTable> ParseAddressTable(std::string_view imageLine, std::string* error) {
    if (imageLine.size() < kAddressTableEnd) return Fail(error, kImageTooShort);
    AddressTable table{};
    for (std::size_t k = 0; k < kAddressSlotCount; ++k) {
        const auto bytes = HexTextToBytes(imageLine.substr(kAddressTableOffset + 4 * k, 4));
        if (!bytes) return Fail(error, kTableNotHex);
        table[k] = static_cast<std::uint16_t>((*bytes)[0] * 256 + (*bytes)[1]);
    }
    return table;
}

std::uint32_t EncodeSwitch(ParameterKind kind, bool on) {
    return kind == ParameterKind::Wave ? EncodeWave(on) : EncodeOnOff(on);
}

std::optional<bool> DecodeSwitch(ParameterKind kind, std::uint32_t value) {
    switch (kind) {
        case ParameterKind::Wave:
            return DecodeWave(value);
        case ParameterKind::Split:
            return DecodeSplit(value);
        case ParameterKind::OnOff:
            return DecodeOnOff(value);
        case ParameterKind::CheckBox:
            return DecodeCheckBox(value);
        case ParameterKind::Dial:
        case ParameterKind::PitchTable:
            break;
    }
    return std::nullopt;
}

ParameterSet::ParameterSet() {
    for (std::size_t i = 0; i < kStandardParameterCount; ++i)
        standard_[i] = standard_parameter{kParameterInfo[i].name, 0, 0};
    for (std::size_t k = 0; k < kAssignableParameterCount; ++k)
        assignable_[k] =
            assignable_parameter{kParameterInfo[kFirstAssignableIndex + k].name, 0xFFFF, 0, false};
}

const std::string& ParameterSet::name(std::size_t i) const {
    return isAssignable(i) ? assignable(i - kFirstAssignableIndex).parameter_name
                           : standard(i).parameter_name;
}

std::uint16_t& ParameterSet::address(std::size_t i) {
    return isAssignable(i) ? assignable(i - kFirstAssignableIndex).address : standard(i).address;
}

std::uint16_t ParameterSet::address(std::size_t i) const {
    return isAssignable(i) ? assignable(i - kFirstAssignableIndex).address : standard(i).address;
}

std::uint32_t& ParameterSet::value(std::size_t i) {
    return isAssignable(i) ? assignable(i - kFirstAssignableIndex).value : standard(i).value;
}

std::uint32_t ParameterSet::value(std::size_t i) const {
    return isAssignable(i) ? assignable(i - kFirstAssignableIndex).value : standard(i).value;
}

bool ParameterSet::isAssignable(std::size_t i) const {
    CheckIndex(i);
    return i >= kFirstAssignableIndex;
}

std::optional<std::size_t> ParameterSet::indexOf(std::string_view parameterName) const {
    for (std::size_t i = 0; i < kParameterCount; ++i)
        if (name(i) == parameterName) return i;
    return std::nullopt;
}

standard_parameter& ParameterSet::standard(std::size_t i) { return standard_.at(i); }
const standard_parameter& ParameterSet::standard(std::size_t i) const { return standard_.at(i); }
assignable_parameter& ParameterSet::assignable(std::size_t k) { return assignable_.at(k); }
const assignable_parameter& ParameterSet::assignable(std::size_t k) const {
    return assignable_.at(k);
}

std::array<std::uint32_t, kAssignableParameterCount> ParameterSet::assignableValues() const {
    std::array<std::uint32_t, kAssignableParameterCount> result{};
    for (std::size_t k = 0; k < kAssignableParameterCount; ++k) result[k] = assignable_[k].value;
    return result;
}

std::array<std::uint32_t, kParameterCount> ParameterSet::values() const {
    std::array<std::uint32_t, kParameterCount> result{};
    for (std::size_t i = 0; i < kParameterCount; ++i) result[i] = value(i);
    return result;
}

void ParameterSet::setValues(const std::array<std::uint32_t, kParameterCount>& values) {
    for (std::size_t i = 0; i < kParameterCount; ++i) value(i) = values[i];
}

void ParameterSet::LoadParameterAddresses(const AddressTable& table) {
    for (std::size_t i = 0; i < kParameterCount; ++i)
        address(i) = table[static_cast<std::size_t>(kParameterInfo[i].slot)];
}

bool ParameterSet::LoadParameterAddresses(std::string_view imageLine, std::string* error) {
    const auto table = ParseAddressTable(imageLine, error);
    if (!table) return false;
    LoadParameterAddresses(*table);
    return true;
}

}  // namespace varkunda::protocol
