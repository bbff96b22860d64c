#include <gtest/gtest.h>

#include <vector>

#include "protocol/AlgorithmFile.h"

using namespace varkunda::protocol;
using Bytes = std::vector<std::uint8_t>;

namespace {

// An upload message of `size` bytes whose length field says `lengthField`.
Bytes Message(std::size_t size, std::size_t lengthField, std::uint8_t code = 0x00) {
    Bytes bytes(size, 0x5A);
    if (size > 0) bytes[0] = code;
    if (size > 1) bytes[1] = static_cast<std::uint8_t>(lengthField >> 8);
    if (size > 2) bytes[2] = static_cast<std::uint8_t>(lengthField & 0xFF);
    return bytes;
}

TEST(AlgorithmFile, AMessageWhoseLengthFieldIsItsSizeMayBeSent) {
    for (std::size_t size : {std::size_t{3}, std::size_t{4352}, std::size_t{65535}}) {
        const auto check = CheckAlgorithmFile(Message(size, size));
        EXPECT_TRUE(check.ok()) << size;
        EXPECT_EQ(check.lengthField, size);
    }
}

TEST(AlgorithmFile, EachFaultIsNamed) {
    struct Case {
        const char* what;
        Bytes bytes;
        AlgorithmFileFault fault;
    };
    Bytes tooLarge = Message(65537, 0);
    const Case cases[] = {
        {"empty", {}, AlgorithmFileFault::Empty},
        {"one byte over the limit", tooLarge, AlgorithmFileFault::TooLarge},
        {"exactly the limit, field cannot say 65536", Message(65536, 0),
         AlgorithmFileFault::LengthMismatch},
        {"another command", Message(4352, 4352, 0x02), AlgorithmFileFault::NotAnUpload},
        {"field says more", Message(4352, 4353), AlgorithmFileFault::LengthMismatch},
        {"field says less", Message(4352, 0x1000), AlgorithmFileFault::LengthMismatch},
        {"field read LSB first", Message(4352, 0x0011), AlgorithmFileFault::LengthMismatch},
        {"too short for a field", Bytes{0x00, 0x00}, AlgorithmFileFault::LengthMismatch},
    };
    for (const Case& c : cases) {
        const auto check = CheckAlgorithmFile(c.bytes);
        ASSERT_TRUE(check.fault.has_value()) << c.what;
        EXPECT_EQ(*check.fault, c.fault) << c.what;
        EXPECT_EQ(check.size, c.bytes.size()) << c.what;
    }
}

}  // namespace
