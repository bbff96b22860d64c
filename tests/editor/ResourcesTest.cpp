// Built-in resources: the effect list, resource names, text lines and the required
// algorithm number.
#include <gtest/gtest.h>

#include <QListWidget>

#include "EditorHarness.h"
#include "app/BuiltinResources.h"
#include "app/TextFiles.h"

namespace {

TEST(ResourceNames, EffectNamesBecomeResourceNames) {
    const std::pair<QString, QString> cases[] = {
        {"Varkunda TZ5 0014", "Varkunda_TZ5_0014"},
        {"A-B+X C", "A_Bplusmult_C"},
        {"x-ray X", "x_ray_mult"},
        {"++", "plusplus"},
        {"", ""},
    };
    for (const auto& [effect, resource] : cases) EXPECT_EQ(ResourceNameOf(effect), resource);
}

TEST(ResourceNames, BuiltinResourcesAreFoundWithoutRegardToCase) {
    QtResourceStore store;
    for (const char* name : {"octave", "OCTAVE", "Varkunda_TZ5_0014", "firmware_12", "FIRMWARE_13",
                             "style_0", "Style_7"})
        EXPECT_TRUE(store.find(name)) << name;
    EXPECT_FALSE(store.find("Varkunda_TZ5_0015"));
    EXPECT_EQ(store.find("FIRMWARE_12")->size(), 53136);
    EXPECT_EQ(store.find("FIRMWARE_13")->size(), 53152);
    const QByteArray image = *store.find("VARKUNDA_TZ5_0014");
    EXPECT_EQ(image.size(), 8704);
    EXPECT_TRUE(image.startsWith("001100"));
}

TEST(TextLines, SplitAtEveryKindOfLineBreak) {
    const std::pair<QString, QStringList> cases[] = {
        {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"one\r\n", {"one"}},
        {"one\n\ntwo", {"one", "", "two"}},
        {"\r\n", {""}},
        {"", {}},
    };
    for (const auto& [text, lines] : cases) EXPECT_EQ(SplitTextLines(text), lines);
}

TEST(TextLines, ResourceTextIsLatin1UnlessItHasAByteOrderMark) {
    EXPECT_EQ(DecodeResourceText("Gr\xFC\xDF"), QString::fromUtf8("Grüß"));
    EXPECT_EQ(DecodeResourceText("\xEF\xBB\xBFGr\xC3\xBC\xC3\x9F"), QString::fromUtf8("Grüß"));
}

TEST(AlgorithmNumbers, ReadFromCharactersThirteenToSeventeen) {
    const std::pair<QString, std::optional<unsigned>> cases[] = {
        {"Varkunda TZ5 0014", 14},      {"Varkunda TZ5 0100", 100},
        {"Varkunda TZ5   15", 15},      {"Varkunda TZ5 0014 Bass", 14},
        {"Varkunda TZ5", std::nullopt}, {"Varkunda TZ5 abcd", std::nullopt},
        {"Octaver", std::nullopt},      {"", std::nullopt},
    };
    for (const auto& [entry, number] : cases)
        EXPECT_EQ(AlgorithmNumberOfEffectName(entry), number) << entry.toStdString();
}

TEST(EffectList, FilledFromTheListResourceInOrder) {
    EditorHarness editor;
    editor.resources.replace("OCTAVE", "Varkunda TZ5 0015\rVarkunda TZ5 0014\n");
    editor.start();

    QListWidget& list = *editor.main().lstEffects;
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.item(0)->text(), "Varkunda TZ5 0015");
    EXPECT_EQ(list.item(1)->text(), "Varkunda TZ5 0014");
    EXPECT_EQ(editor.context().RequiredAlgorithmNumber, 15u);
    EXPECT_EQ(editor.context().AlgorithmImageText,
              QStringList({"Varkunda TZ5 0015", "Varkunda TZ5 0014"}));
}

TEST(EffectList, EntryWithoutAlgorithmNumberGivesTheBuiltinNumberAndAConsoleLine) {
    EditorHarness editor;
    editor.resources.replace("OCTAVE", "Octaver\r\n");
    editor.start();

    EXPECT_EQ(editor.context().RequiredAlgorithmNumber, 14u);
    ASSERT_EQ(editor.consoleLines().size(), 1);
    EXPECT_TRUE(editor.consoleLines()[0].contains("Octaver"));
    EXPECT_TRUE(editor.dialogs.shown.isEmpty());
}

TEST(EffectList, MissingListResourceIsReportedAndStartUpGoesOn) {
    EditorHarness editor;
    editor.resources.remove("OCTAVE");
    editor.start();

    EXPECT_EQ(editor.dialogs.messages,
              QStringList({"Error loading resource: Resource octave not found"}));
    EXPECT_EQ(editor.main().lstEffects->count(), 0);
    EXPECT_EQ(editor.context().RequiredAlgorithmNumber, 14u);
    EXPECT_EQ(editor.main().LookItems.size(), 7);
}

TEST(EffectList, FailedLoadKeepsTheLinesLoadedBefore) {
    EditorHarness editor;
    editor.start();
    EditorContext& context = editor.context();
    ASSERT_TRUE(LoadResourceLines(context, "varkunda_tz5_0014"));
    ASSERT_EQ(context.AlgorithmImageText.size(), 1);
    EXPECT_EQ(context.AlgorithmImageText[0].size(), 8704);

    EXPECT_FALSE(LoadResourceLines(context, "Varkunda_TZ5_0099"));
    EXPECT_EQ(context.AlgorithmImageText[0].size(), 8704);
    EXPECT_EQ(editor.dialogs.messages.size(), 1);
}

}  // namespace
