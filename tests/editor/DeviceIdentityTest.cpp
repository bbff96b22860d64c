// The silent scan at start-up and the preference switches of the Settings and Info menus.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>

#include "EditorHarness.h"

namespace {

// Lists the given devices; nothing can be opened.
class ListingOnlyDriver : public varkunda::link::NoDeviceBackend {
  public:
    using FtStatus = varkunda::link::FtStatus;
    struct Device {
        std::string serial, description;
    };
    explicit ListingOnlyDriver(std::initializer_list<Device> devices) : devices_(devices) {}

    FtStatus listDeviceCount(std::uint32_t& count) override {
        count = static_cast<std::uint32_t>(devices_.size());
        return varkunda::link::ft::OK;
    }
    FtStatus listSerialNumber(std::uint32_t index, std::string& serial) override {
        serial = devices_.at(index).serial;
        return varkunda::link::ft::OK;
    }
    FtStatus listDescription(std::uint32_t index, std::string& description) override {
        description = devices_.at(index).description;
        return varkunda::link::ft::OK;
    }

  private:
    std::vector<Device> devices_;
};

TEST(DeviceIdentity, OneDeviceIsShownAndCanBeLinked) {
    ListingOnlyDriver driver{{"VKTZ5001", "Varkunda TZ5"}};
    EditorHarness editor(&driver);
    editor.start();

    EXPECT_EQ(editor.main().lblDeviceName->text(), "Varkunda TZ5");
    EXPECT_EQ(editor.main().menuSerialNumber->text(), "Device Serial: VKTZ5001");
    EXPECT_EQ(editor.context().DeviceSerial, "VKTZ5001");
    EXPECT_TRUE(editor.main().menuConnect->isEnabled());
    EXPECT_TRUE(editor.dialogs.shown.isEmpty());
    EXPECT_TRUE(editor.consoleLines().isEmpty());
}

TEST(DeviceIdentity, TwoDevicesShowTheLastDescriptionAndBothSerials) {
    ListingOnlyDriver driver{{"AAA1", "First"}, {"BBB2", "Second"}};
    EditorHarness editor(&driver);
    editor.start();

    EXPECT_EQ(editor.main().lblDeviceName->text(), "Second");
    EXPECT_EQ(editor.main().menuSerialNumber->text(), "Device Serial: AAA1BBB2");
    EXPECT_EQ(editor.context().DeviceSerial, "BBB2");
}

TEST(DeviceIdentity, EmptyDescriptionDisablesLinkLikeNoDevice) {
    ListingOnlyDriver driver{{"AAA1", ""}};
    EditorHarness editor(&driver);
    editor.start();
    EXPECT_FALSE(editor.main().menuConnect->isEnabled());

    EditorHarness none;
    none.start();
    EXPECT_EQ(none.main().lblDeviceName->text(), "No device found");
    EXPECT_FALSE(none.main().menuConnect->isEnabled());
    EXPECT_EQ(none.main().menuSerialNumber->text(), "Device Serial: ");
}

TEST(DeviceIdentity, LineIsSetForNormalTrafficAtStartUp) {
    EditorHarness editor;
    editor.start();
    const auto& device = editor.context().device;
    EXPECT_EQ(device.LineBaudRate, 115200u);
    EXPECT_EQ(device.LineWordLength, 8);
    EXPECT_EQ(device.LineStopBits, 0);
    EXPECT_EQ(device.LineParity, 0);
}

struct ToggleCase {
    const char* file;
    QAction* TformMain::*item;
    bool EditorContext::*preference;
    bool preferenceFollowsClick;
};

class PreferenceToggle : public ::testing::TestWithParam<ToggleCase> {};

TEST_P(PreferenceToggle, ClickRewritesAnExistingFileOnly) {
    const ToggleCase& c = GetParam();
    EditorHarness editor;
    editor.start();
    QAction* item = editor.main().*c.item;
    const QString path = editor.productFile(c.file);

    item->trigger();
    EXPECT_FALSE(item->isChecked());
    EXPECT_EQ(EditorHarness::readFile(path), QByteArray("NO"));
    EXPECT_EQ(editor.context().*c.preference, !c.preferenceFollowsClick);
    item->trigger();
    EXPECT_EQ(EditorHarness::readFile(path), QByteArray("YES"));

    QFile::remove(path);
    item->trigger();
    EXPECT_FALSE(item->isChecked());
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_TRUE(editor.context().*c.preference);
    EXPECT_TRUE(editor.dialogs.shown.isEmpty());

    editor.restart();
    EXPECT_TRUE((editor.main().*c.item)->isChecked());
}

INSTANTIATE_TEST_SUITE_P(
    Items, PreferenceToggle,
    ::testing::Values(ToggleCase{"ReportUSBErrors.txt", &TformMain::menuReportUSBErrors,
                                 &EditorContext::ReportErrorsPreference, true},
                      ToggleCase{"ShowMessageVersionAtStartup.txt", &TformMain::menuShowUpdateMsg,
                                 &EditorContext::ShowUpdateMsgAtStartup, false}),
    [](const auto& info) {
        return std::string(info.index == 0 ? "ReportUSBErrors" : "ShowUpdateMessage");
    });

TEST_P(PreferenceToggle, ChoiceThatCannotBeStoredIsShownAndTakenBack) {
    const ToggleCase& c = GetParam();
    EditorHarness editor;
    editor.start();
    const QString path = editor.productFile(c.file);
    QFile::remove(path);
    QDir().mkpath(path);  // a folder in the file's place

    QAction* item = editor.main().*c.item;
    item->trigger();

    EXPECT_TRUE(item->isChecked());
    EXPECT_TRUE(editor.context().*c.preference);
    ASSERT_EQ(editor.dialogs.messages.size(), 1);
    EXPECT_TRUE(editor.dialogs.messages[0].contains(c.file));
}

TEST(PreferenceToggle, UnchecksAtTheNextStartAfterNo) {
    EditorHarness editor;
    editor.start();
    ASSERT_TRUE(editor.main().menuReportUSBErrors->isChecked());
    editor.main().menuReportUSBErrors->trigger();
    editor.restart();
    EXPECT_FALSE(editor.main().menuReportUSBErrors->isChecked());
    EXPECT_FALSE(editor.context().device.ErrorReportsOn);
}

}  // namespace
