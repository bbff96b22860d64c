#include <gtest/gtest.h>

#include "link/backends/BackendChoice.h"

using namespace varkunda::link;

namespace {

struct ChoiceCase {
    QStringList arguments;
    QString environment;
    BackendKind kind;
    std::string serialPort;
    unsigned pedals;
    std::string library;
};

class BackendChoiceTest : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(BackendChoiceTest, ReadsTheChoice) {
    const ChoiceCase& c = GetParam();
    const BackendChoice choice =
        ParseBackendChoice(QStringList{"editor"} + c.arguments, c.environment);
    EXPECT_FALSE(choice.error);
    EXPECT_EQ(choice.kind, c.kind);
    EXPECT_EQ(choice.serialPort, c.serialPort);
    EXPECT_EQ(choice.simulatedPedals, c.pedals);
    EXPECT_EQ(choice.vendorLibrary, c.library);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLineAndEnvironment, BackendChoiceTest,
    ::testing::Values(
        ChoiceCase{{}, "", BackendKind::Auto, "", 1, ""},
        ChoiceCase{{"--device", "sim"}, "", BackendKind::Simulated, "", 1, ""},
        ChoiceCase{{"--device=sim:2"}, "", BackendKind::Simulated, "", 2, ""},
        ChoiceCase{{"--device", "serial:/dev/pts/3"}, "", BackendKind::Serial, "/dev/pts/3", 1, ""},
        ChoiceCase{{"--device", "serial:COM3"}, "", BackendKind::Serial, "COM3", 1, ""},
        ChoiceCase{{"--device", "serial"}, "", BackendKind::Serial, "", 1, ""},
        ChoiceCase{{"--device", "d2xx"}, "", BackendKind::Vendor, "", 1, ""},
        ChoiceCase{{"--device", "d2xx:C:/ftdi/ftd2xx.dll"},
                   "",
                   BackendKind::Vendor,
                   "",
                   1,
                   "C:/ftdi/ftd2xx.dll"},
        ChoiceCase{{}, "sim", BackendKind::Simulated, "", 1, ""},
        ChoiceCase{{}, " serial:/dev/ttyUSB0 ", BackendKind::Serial, "/dev/ttyUSB0", 1, ""},
        // The command line wins over the environment.
        ChoiceCase{{"--device", "auto"}, "sim", BackendKind::Auto, "", 1, ""},
        ChoiceCase{{"other", "--device", "d2xx"}, "serial", BackendKind::Vendor, "", 1, ""}));

TEST(BackendChoice, UnreadableChoicesAreRefusedWithTheValueGiven) {
    for (const QString& value :
         QStringList{"bluetooth", "sim:0", "sim:x", "sim:9", "serial:", "auto:1"}) {
        SCOPED_TRACE(value.toStdString());
        const BackendChoice choice = ParseBackendChoice({"editor", "--device", value}, "");
        ASSERT_TRUE(choice.error);
        EXPECT_EQ(choice.error->kind, LinkErrorKind::UnknownDeviceChoice);
        EXPECT_EQ(choice.error->detail, value.toStdString());
    }
    const auto missing = ParseBackendChoice({"editor", "--device"}, "sim").error;
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->kind, LinkErrorKind::DeviceChoiceMissing);
}

}  // namespace
