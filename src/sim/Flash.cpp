#include "sim/Flash.h"

#include <algorithm>

namespace varkunda::sim {
namespace {

std::uint32_t LittleEndianWord(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return std::uint32_t{bytes[offset]} | std::uint32_t{bytes[offset + 1]} << 8 |
           std::uint32_t{bytes[offset + 2]} << 16 | std::uint32_t{bytes[offset + 3]} << 24;
}

}  // namespace

bool Flash::Contains(std::uint32_t address, std::size_t count) {
    if (address < kFlashStart) return false;
    const std::uint64_t end = std::uint64_t{address - kFlashStart} + count;
    return end <= kFlashSize;
}

std::optional<std::vector<std::uint8_t>> Flash::read(std::uint32_t address,
                                                     std::size_t count) const {
    if (!Contains(address, count)) return std::nullopt;
    const auto first = bytes_.begin() + (address - kFlashStart);
    return std::vector<std::uint8_t>(first, first + static_cast<std::ptrdiff_t>(count));
}

void Flash::program(std::uint32_t address, std::span<const std::uint8_t> data) {
    if (!Contains(address, data.size())) return;
    for (std::size_t i = 0; i < data.size(); ++i) bytes_[address - kFlashStart + i] &= data[i];
}

void Flash::erasePage(std::uint32_t page) {
    if (page >= kFlashPageCount) return;
    const auto first = bytes_.begin() + page * kFlashPageSize;
    std::fill(first, first + kFlashPageSize, kErasedByte);
}

void Flash::eraseAll() { std::fill(bytes_.begin(), bytes_.end(), kErasedByte); }

void Flash::install(std::uint32_t address, std::span<const std::uint8_t> data) {
    if (!Contains(address, data.size())) return;
    std::copy(data.begin(), data.end(), bytes_.begin() + (address - kFlashStart));
}

std::vector<std::uint8_t> VersionRecord(std::uint8_t firmware) {
    std::vector<std::uint8_t> record(kVersionRecordSize, 0x00);
    record.back() = firmware;
    return record;
}

std::optional<std::uint8_t> StartableFirmware(const Flash& flash, std::uint32_t address) {
    const auto vectors = flash.read(address, 8);
    const auto record = flash.read(kVersionRecordAddress, kVersionRecordSize);
    if (!vectors || !record) return std::nullopt;
    const std::uint32_t stack = LittleEndianWord(*vectors, 0);
    const std::uint32_t reset = LittleEndianWord(*vectors, 4);
    const bool stackInRam = stack > kRamStart && stack <= kRamStart + kRamSize;
    const bool resetInFlash = (reset & 1u) != 0 && Flash::Contains(reset & ~1u, 2);
    if (!stackInRam || !resetInFlash) return std::nullopt;
    const bool recordHeaderZero =
        std::all_of(record->begin(), record->end() - 1, [](std::uint8_t b) { return b == 0; });
    if (!recordHeaderZero || record->back() == kErasedByte) return std::nullopt;
    return record->back();
}

}  // namespace varkunda::sim
