// SPDX-License-Identifier: MIT
#include "core/shell/commands.hpp"

#include "core/common/codepage.hpp"
#include "core/common/error.hpp"
#include "support/test_support.hpp"

#include <gtest/gtest.h>
#include <vector>

namespace fs = std::filesystem;
using namespace kavo;
using namespace kavo::app;
using kavo::test::cp1251;
using kavo::test::readBytes;
using kavo::test::TempDir;
using kavo::test::writeBytes;

TEST(About, FivePiecesWithTheirSpaces) {
    EXPECT_EQ(aboutText(kavo::Lang::English),
              "Programe for task templates: TemplateForRadio, TemplateForEdit,\n"
              "                 TemplateForSpoiler, TemplateForMultipleChoice\n\n"
              "                                                   Version 1.0.0");
    EXPECT_EQ(aboutText(kavo::Lang::Russian),
              cp1251("Программа для шаблона задач: TemplateForRadio, TemplateForEdit,\n"
                     "                   TemplateForSpoiler, TemplateForMultipleChoice\n\n"
                     "                                                   Версия 1.0.0"));
}

TEST(Information, HeadingSpacesAndTheWholeCounterFile) {
    TempDir dir;
    const fs::path counter = dir.path() / "System_folder" / "Authorisation" / "Tasks_in_view.txt";
    EXPECT_THROW(informationText(kavo::Lang::English, dir.path()), Error);
    writeBytes(counter, "12\n");
    EXPECT_EQ(informationText(kavo::Lang::English, dir.path()), "Number of added tasks:   12\r\n");
    EXPECT_EQ(informationText(kavo::Lang::Russian, dir.path()),
              cp1251("Количество поставленных задач:   12\r\n"));
    writeBytes(counter, "7");
    EXPECT_EQ(informationText(kavo::Lang::English, dir.path()), "Number of added tasks:   7");
}

TEST(ResetSettings, WritesCounterThenFlag) {
    TempDir dir;
    const fs::path auth = dir.path() / "System_folder" / "Authorisation";
    writeBytes(auth / "Tasks_in_view.txt", "41\r\n");
    writeBytes(auth / "save.txt", "0\r\n");
    EXPECT_EQ(resetSettings(kavo::Lang::English, dir.path()), "Settings has been reseted");
    EXPECT_EQ(readBytes(auth / "Tasks_in_view.txt"), "0\r\n");
    EXPECT_EQ(readBytes(auth / "save.txt"), "1\r\n");
    EXPECT_EQ(resetSettings(kavo::Lang::Russian, dir.path()), cp1251("Настройки сброшены"));
    EXPECT_EQ(informationText(kavo::Lang::English, dir.path()), "Number of added tasks:   0\r\n");
}

TEST(ResetSettings, AWriteFailureReportsAndSkipsTheRest) {
    TempDir dir;
    const fs::path auth = dir.path() / "System_folder" / "Authorisation";
    // A folder in the place of the flag file: the counter is reset, the flag reported.
    writeBytes(auth / "Tasks_in_view.txt", "5\r\n");
    fs::create_directories(auth / "save.txt");
    try {
        resetSettings(kavo::Lang::English, dir.path());
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot create file " + (auth / "save.txt").string() + "\nIt is a folder");
    }
    EXPECT_EQ(readBytes(auth / "Tasks_in_view.txt"), "0\r\n");

    // A folder in the place of the counter: the flag is not touched.
    fs::remove_all(auth);
    fs::create_directories(auth / "Tasks_in_view.txt");
    writeBytes(auth / "save.txt", "0\r\n");
    EXPECT_THROW(resetSettings(kavo::Lang::English, dir.path()), Error);
    EXPECT_EQ(readBytes(auth / "save.txt"), "0\r\n");
}

TEST(RemoveBoxes, ClicksKeepTheCheckedBoxesASuffix) {
    struct Case {
        RemoveBoxes now; // after the user's change
        int clicked;
        RemoveBoxes end;
    };
    const Case cases[] = {
        {{true, false, false}, 1, {true, true, true}},
        {{true, true, false}, 3, {false, false, false}},
        {{true, false, true}, 2, {false, false, true}},
        {{false, true, false}, 2, {false, true, true}},
        {{false, false, true}, 3, {false, false, true}},
        {{false, true, true}, 1, {false, true, true}},
    };
    for (const auto& c : cases) {
        const auto end = coupleRemoveBoxes(c.now, c.clicked);
        EXPECT_EQ(end, c.end) << c.clicked;
    }
    // From every reachable state (a suffix), any click ends in a suffix again.
    for (int bits : {0, 4, 6, 7})
        for (int clicked = 1; clicked <= 3; ++clicked) {
            RemoveBoxes b{bool(bits & 1), bool(bits & 2), bool(bits & 4)};
            bool* box[] = {nullptr, &b.CheckBox1, &b.CheckBox2, &b.CheckBox3};
            *box[clicked] = !*box[clicked];
            b = coupleRemoveBoxes(b, clicked);
            EXPECT_TRUE((!b.CheckBox1 || b.CheckBox2) && (!b.CheckBox2 || b.CheckBox3))
                << bits << " " << clicked;
        }
}

TEST(DefaultNames, CheckedOnlyWhenBothNamesAreEmpty) {
    EXPECT_TRUE(defaultNames("", ""));
    EXPECT_FALSE(defaultNames("x", ""));
    EXPECT_FALSE(defaultNames("", "y"));
    EXPECT_FALSE(defaultNames(" ", " "));
}

TEST(Links, FourAddressesTheSiteUnderTheReservedDomain) {
    for (int label : {14, 15, 17})
        EXPECT_EQ(linkAddress(label).rfind("https://" + std::string(WebSiteHost) + "/", 0), 0u)
            << label;
    EXPECT_EQ(linkAddress(16).rfind("https://", 0), 0u);
    EXPECT_TRUE(linkAddress(13).empty());
    EXPECT_TRUE(WebSiteHost.ends_with("example.org"));
}

namespace {

// A scripted chooser: the answers it gives and the start folders it was opened at.
struct Chooser {
    std::vector<std::optional<fs::path>> answers{};
    std::vector<bool> confirms{};
    std::vector<fs::path> starts{};
    int asked = 0;
    std::optional<fs::path> run(kavo::Lang lang, const fs::path& outputDir,
                                const fs::path& workingDir) {
        std::size_t a = 0, q = 0;
        return chooseOutputFolder(
            lang, outputDir, workingDir,
            [&](const fs::path& start) {
                starts.push_back(start);
                return a < answers.size() ? answers[a++] : std::nullopt;
            },
            [&] {
                ++asked;
                return q < confirms.size() && confirms[q++];
            });
    }
};

} // namespace

TEST(FolderChooser, CancelExistingAndNewFolders) {
    TempDir dir;
    const fs::path work = dir.path();
    const fs::path year = work / "Year"; // does not exist: the chooser starts in work
    {
        Chooser c{{std::nullopt}};
        EXPECT_EQ(c.run(kavo::Lang::English, year, work), std::nullopt);
        EXPECT_EQ(c.starts, std::vector<fs::path>{work});
        EXPECT_EQ(c.asked, 0);
    }
    fs::create_directories(work / "Old");
    {
        Chooser c{{work / "Old/"}};
        EXPECT_EQ(c.run(kavo::Lang::English, work / "Old", work), work / "Old");
        EXPECT_EQ(c.starts, std::vector<fs::path>{work / "Old"});
        EXPECT_EQ(c.asked, 0);
    }
    {
        // No returns to the chooser; Yes creates the folder with its parents.
        const fs::path fresh = work / "a b" / "\xD0\x9D\xD0\xBE\xD0\xB2\xD0\xB0\xD1\x8F" / "c";
        Chooser c{{fresh, fresh}, {false, true}};
        EXPECT_EQ(c.run(kavo::Lang::English, year, work), fresh);
        EXPECT_EQ(c.asked, 2);
        EXPECT_EQ(c.starts.size(), 2u);
        EXPECT_TRUE(fs::is_directory(fresh));
    }
    {
        // No, then Cancel: nothing created, OutputDir stays.
        Chooser c{{work / "never", std::nullopt}, {false}};
        EXPECT_EQ(c.run(kavo::Lang::English, year, work), std::nullopt);
        EXPECT_FALSE(fs::exists(work / "never"));
    }
    {
        // A relative answer lies under the working directory.
        Chooser c{{fs::path("rel/x")}, {true}};
        EXPECT_EQ(c.run(kavo::Lang::English, year, work), work / "rel" / "x");
        EXPECT_TRUE(fs::is_directory(work / "rel" / "x"));
    }
}

TEST(FolderChooser, AnUncreatableFolderIsReportedInTheInterfaceLanguage) {
    TempDir dir;
    writeBytes(dir.path() / "file", "not a folder");
    const fs::path bad = dir.path() / "file" / "sub";
    for (const kavo::Lang lang : {kavo::Lang::English, kavo::Lang::Russian}) {
        Chooser c{{bad}, {true}};
        try {
            c.run(lang, dir.path(), dir.path());
            ADD_FAILURE();
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()),
                      std::string(lang == kavo::Lang::English ? "\nUnable to create the folder "
                                                              : "\nНе удалось создать папку ") +
                          bad.string());
        }
    }
}
