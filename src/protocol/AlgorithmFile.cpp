#include "protocol/AlgorithmFile.h"

namespace varkunda::protocol {

AlgorithmFileCheck CheckAlgorithmFile(std::span<const std::uint8_t> bytes) {
    AlgorithmFileCheck check;
    check.size = bytes.size();
    if (bytes.size() >= 3) check.lengthField = (std::size_t{bytes[1]} << 8) | bytes[2];
    if (bytes.empty())
        check.fault = AlgorithmFileFault::Empty;
    else if (bytes.size() > kAlgorithmMessageLimit)
        check.fault = AlgorithmFileFault::TooLarge;
    else if (bytes[0] != kAlgorithmUploadCode)
        check.fault = AlgorithmFileFault::NotAnUpload;
    else if (bytes.size() < 3 || check.lengthField != bytes.size())
        check.fault = AlgorithmFileFault::LengthMismatch;
    return check;
}

}  // namespace varkunda::protocol
