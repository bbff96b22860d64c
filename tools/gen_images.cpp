// Writes the built-in test images from a fixed seed: the algorithm image as one line
// of upper-case hex text, and two raw firmware images that begin with a Cortex-M
// vector table. The contents beyond their headers are filler of the right size.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr std::uint16_t kAddressTable[21] = {
    0x0027, 0x0007, 0x007D, 0x0080, 0x0002, 0x00AF, 0x00BD, 0x007E, 0x00C9, 0x002D, 0x0041,
    0x0037, 0x000B, 0x0052, 0x00C6, 0x001D, 0x000E, 0x0006, 0xFF00, 0x00BC, 0x0003};

constexpr std::size_t kAlgorithmBytes = 4352;

std::vector<std::uint8_t> algorithmImage(std::mt19937& random) {
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

void putLittleEndian(std::vector<std::uint8_t>& image, std::size_t offset, std::uint32_t word) {
    for (int i = 0; i < 4; ++i) image[offset + i] = static_cast<std::uint8_t>(word >> (8 * i));
}

// Stack pointer at the top of 20 KB of RAM, reset and exception handlers at odd
// (Thumb) addresses inside the first flash page.
std::vector<std::uint8_t> firmwareImage(std::mt19937& random, std::size_t size,
                                        std::uint8_t version) {
    std::vector<std::uint8_t> image(size);
    for (auto& byte : image) byte = static_cast<std::uint8_t>(random());
    putLittleEndian(image, 0, 0x20005000);
    for (std::size_t vector = 1; vector < 48; ++vector)
        putLittleEndian(image, vector * 4, 0x08000101 + static_cast<std::uint32_t>(vector) * 0x10);
    image[0xC0] = version;  // a visible version mark behind the vector table
    return image;
}

bool writeFile(const std::string& path, const void* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    std::mt19937 random(0x54A5u);  // fixed seed: the same images on every build

    static const char* digits = "0123456789ABCDEF";
    std::string hex;
    for (std::uint8_t byte : algorithmImage(random)) {
        hex.push_back(digits[byte >> 4]);
        hex.push_back(digits[byte & 0xF]);
    }
    const auto firmware12 = firmwareImage(random, 53136, 12);
    const auto firmware13 = firmwareImage(random, 53152, 13);

    bool ok = writeFile(folder + "/VARKUNDA_TZ5_0014", hex.data(), hex.size()) &&
              writeFile(folder + "/FIRMWARE_12", firmware12.data(), firmware12.size()) &&
              writeFile(folder + "/FIRMWARE_13", firmware13.data(), firmware13.size());
    if (!ok) std::fprintf(stderr, "cannot write the images into %s\n", folder.c_str());
    return ok ? 0 : 1;
}
