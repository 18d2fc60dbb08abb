// SPDX-License-Identifier: MIT
// The language switch: the language file, the restart through the platform, and what
// happens when the file cannot be written or the new instance cannot start.
#include "core/common/error.hpp"
#include "ui/common/text_bridge.hpp"
#include "ui/support/ui_fixture.hpp"

#include <QCoreApplication>
#include <QFileInfo>
#include <cerrno>

namespace fs = std::filesystem;
using namespace kavo::test;
using namespace Qt::Literals::StringLiterals;
using kavo::app::fromPath;

namespace {

struct SwitchCase {
    const char* running; // language file at start
    const char* command; // Russian1 or English1
    const char* written;
    kavo::Lang nextLang; // the language of the next start
};

void PrintTo(const SwitchCase& c, std::ostream* os) {
    *os << c.command << " from " << c.running;
}

using LanguageSwitchFailure = UiFixture;

class LanguageSwitch : public UiFixture, public ::testing::WithParamInterface<SwitchCase> {};

fs::path languageFile(const fs::path& dir) {
    return dir / "System_folder" / "Language" / "Language.txt";
}

} // namespace

TEST_P(LanguageSwitch, WritesTheFileRestartsAndEnds) {
    const SwitchCase& c = GetParam();
    started(c.running);
    trigger(c.command);

    EXPECT_EQ(readBytes(languageFile(dir.path())), c.written);
    ASSERT_EQ(platform.restarts.size(), 1u);
    const QString executable = platform.restarts[0].executable;
    EXPECT_EQ(executable, QCoreApplication::applicationFilePath());
    EXPECT_TRUE(QFileInfo(executable).isAbsolute());
    EXPECT_TRUE(QFileInfo(executable).isExecutable());
    EXPECT_EQ(platform.restarts[0].workingDirectory, fromPath(dir.path()));
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_TRUE(program->ended());
    EXPECT_TRUE(noWindowShown());

    // What the new instance finds.
    program.reset();
    ASSERT_TRUE(start());
    EXPECT_EQ(form1()->lang(), c.nextLang);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, LanguageSwitch,
    // Each command once, one of them to the language already in use (the restart still runs).
    ::testing::Values(SwitchCase{"Rus\r\n", "English1", "En\r\n", kavo::Lang::English},
                      SwitchCase{"Rus\r\n", "Russian1", "Rus\r\n", kavo::Lang::Russian}),
    [](const ::testing::TestParamInfo<SwitchCase>& info) {
        return std::string(info.param.command) + "From" +
               (std::string(info.param.running) == "En\r\n" ? "English" : "Russian");
    });

TEST_F(LanguageSwitchFailure, AFailedRestartKeepsThisInstanceRunning) {
    started("En\r\n");
    platform.restartResult = false;
    trigger("Russian1");
    EXPECT_EQ(platform.restarts.size(), 1u);
    EXPECT_EQ(
        platform.errors(),
        QStringList{u"\nThe program could not be started again: %1\nThe new language takes "
                    u"effect at the next start."_s.arg(QCoreApplication::applicationFilePath())});
    EXPECT_EQ(readBytes(languageFile(dir.path())), "Rus\r\n");
    EXPECT_FALSE(program->ended());
    EXPECT_TRUE(form1()->isVisible());
}

TEST_F(LanguageSwitchFailure, ALanguageFileThatCannotBeWrittenStopsTheSwitch) {
    started();
    // A folder where the language file should be: it cannot be replaced.
    fs::remove(languageFile(dir.path()));
    fs::create_directory(languageFile(dir.path()));
    trigger("English1");
    EXPECT_EQ(platform.errors(), QStringList{QString::fromStdString(
                                     kavo::Error::cannotCreate(languageFile(dir.path()), EISDIR)
                                         .report(kavo::Lang::Russian))});
    EXPECT_TRUE(platform.restarts.empty());
    EXPECT_FALSE(program->ended());
    EXPECT_TRUE(form1()->isVisible());
    EXPECT_EQ(form1()->lang(), kavo::Lang::Russian);
}
