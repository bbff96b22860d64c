// Writes the built-in test images into a folder: the algorithm image as one line of
// upper-case hex text and the two raw firmware images.
#include <cstdio>
#include <fstream>
#include <string>

#include "tools/TestImages.h"

namespace {

bool WriteFile(const std::string& path, const void* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace varkunda::images;
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const std::string algorithm = AlgorithmTestImageHex();
    const auto& firmware12 = FirmwareTestImage(12);
    const auto& firmware13 = FirmwareTestImage(13);
    const bool ok = WriteFile(folder + "/VARKUNDA_TZ5_0014", algorithm.data(), algorithm.size()) &&
                    WriteFile(folder + "/FIRMWARE_12", firmware12.data(), firmware12.size()) &&
                    WriteFile(folder + "/FIRMWARE_13", firmware13.data(), firmware13.size());
    if (!ok) std::fprintf(stderr, "cannot write the images into %s\n", folder.c_str());
    return ok ? 0 : 1;
}
