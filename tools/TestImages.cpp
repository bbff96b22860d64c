#include "tools/TestImages.h"

#include <random>

namespace varkunda::images {
namespace {

constexpr std::uint16_t kAddressTable[21] = {
    0x0027, 0x0007, 0x007D, 0x0080, 0x0002, 0x00AF, 0x00BD, 0x007E, 0x00C9, 0x002D, 0x0041,
    0x0037, 0x000B, 0x0052, 0x00C6, 0x001D, 0x000E, 0x0006, 0xFF00, 0x00BC, 0x0003};

constexpr std::size_t kAlgorithmBytes = 4352;
constexpr std::size_t kFirmware12Bytes = 53136;
constexpr std::size_t kFirmware13Bytes = 53152;

std::vector<std::uint8_t> AlgorithmImage(std::mt19937& random) {
    std::vector<std::uint8_t> image;
    image.push_back(0x00);
    image.push_back(static_cast<std::uint8_t>(kAlgorithmBytes >> 8));
    image.push_back(static_cast<std::uint8_t>(kAlgorithmBytes & 0xFF));
    for (std::uint16_t address : kAddressTable) {
        image.push_back(static_cast<std::uint8_t>(address >> 8));
        image.push_back(static_cast<std::uint8_t>(address & 0xFF));
    }
    while (image.size() < kAlgorithmBytes) image.push_back(static_cast<std::uint8_t>(random()));
    return image;
}

void PutLittleEndian(std::vector<std::uint8_t>& image, std::size_t offset, std::uint32_t word) {
    for (std::size_t i = 0; i < 4; ++i)
        image[offset + i] = static_cast<std::uint8_t>(word >> (8 * i));
}

// Stack pointer at the top of 20 KB of RAM, reset and exception handlers at odd
// (Thumb) addresses inside the first flash page.
std::vector<std::uint8_t> FirmwareImage(std::mt19937& random, std::size_t size,
                                        std::uint8_t version) {
    std::vector<std::uint8_t> image(size);
    for (auto& byte : image) byte = static_cast<std::uint8_t>(random());
    PutLittleEndian(image, 0, 0x20005000);
    for (std::size_t vector = 1; vector < 48; ++vector)
        PutLittleEndian(image, vector * 4, 0x08000101 + static_cast<std::uint32_t>(vector) * 0x10);
    image[0xC0] = version;  // a visible version mark behind the vector table
    return image;
}

struct Images {
    std::vector<std::uint8_t> algorithm;
    std::vector<std::uint8_t> firmware12;
    std::vector<std::uint8_t> firmware13;
};

// The images come from one random stream, in this order.
const Images& AllImages() {
    static const Images images = [] {
        std::mt19937 random(0x54A5u);
        Images made;
        made.algorithm = AlgorithmImage(random);
        made.firmware12 = FirmwareImage(random, kFirmware12Bytes, 12);
        made.firmware13 = FirmwareImage(random, kFirmware13Bytes, 13);
        return made;
    }();
    return images;
}

}  // namespace

std::string AlgorithmTestImageHex() {
    static const char* digits = "0123456789ABCDEF";
    std::string hex;
    for (std::uint8_t byte : AllImages().algorithm) {
        hex.push_back(digits[byte >> 4]);
        hex.push_back(digits[byte & 0xF]);
    }
    return hex;
}

const std::vector<std::uint8_t>& FirmwareTestImage(int number) {
    static const std::vector<std::uint8_t> none;
    if (number == 12) return AllImages().firmware12;
    if (number == 13) return AllImages().firmware13;
    return none;
}

}  // namespace varkunda::images
