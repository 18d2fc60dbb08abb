// SPDX-License-Identifier: MIT
// An olympiad file named on the program's command line: the import report opens at start,
// the same one Menu > Import olympiad shows for that file.
#include "ui/common/text_bridge.hpp"
#include "ui/main/olympiad_report.hpp"
#include "ui/support/ui_fixture.hpp"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <optional>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace kavo;
using namespace kavo::test;
using namespace Qt::Literals::StringLiterals;

namespace {

struct OpenFile : UiFixture {
    // Starts the program as `kavo-program FILE` does.
    bool startWith(const fs::path& file) {
        prepare("En\r\n");
        WorkingDirectory inside(dir.path());
        program = std::make_unique<app::Program>(platform);
        return program->start(file);
    }

    // What the teacher sees after the import: the report window's texts and buttons, and
    // the boxes shown.
    QStringList seen() const {
        QStringList all;
        if (TOlympiadReport* report = form1()->olympiadReport(); report && report->isVisible()) {
            all << report->windowTitle() << report->Summary->text()
                << u"write %1"_s.arg(report->Write->isVisible()) << report->Source->toPlainText();
            for (QListWidget* list : {report->Errors, report->Warnings})
                for (int i = 0; i < list->count(); ++i)
                    all << list->item(i)->text();
        }
        for (const auto& box : platform.boxes)
            all << u"box: "_s + box.text;
        return all;
    }
};

} // namespace

TEST(StartArguments, NothingOrOneFile) {
    struct Case {
        std::vector<std::string> words;
        std::optional<fs::path> file;
        std::vector<const char*> refusal; // what the refusal names, in both languages
    };
    const Case cases[] = {
        {{}, std::nullopt, {}},
        {{"olympiad.gift"}, fs::absolute("olympiad.gift"), {}},
        {{"/home/t/a b.gift"}, "/home/t/a b.gift", {}},
        {{"\xFF\xFE.gift"}, fs::absolute("\xFF\xFE.gift"), {}}, // a name that is not UTF-8
        {{"-"}, fs::absolute("-"), {}},
        {{"--", "-x.gift"}, fs::absolute("-x.gift"), {}},
        {{"--help"}, std::nullopt, {"unknown option --help", "неизвестный параметр --help"}},
        {{"a.gift", "-v"}, std::nullopt, {"unknown option -v", "неизвестный параметр -v"}},
        {{"a.gift", "b.gift"}, std::nullopt, {"2 were named", "указано 2"}},
        {{"--", "a.gift", "--"}, std::nullopt, {"2 were named", "указано 2"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.words));
        const auto got = app::startArguments(c.words);
        EXPECT_EQ(got.olympiadFile, c.file);
        EXPECT_EQ(got.refusal.empty(), c.refusal.empty()) << got.refusal;
        for (const char* part : c.refusal)
            EXPECT_NE(got.refusal.find(part), std::string::npos) << got.refusal;
        if (!c.refusal.empty()) {
            EXPECT_NE(got.refusal.find("Usage: kavo-program [FILE.gift]"), std::string::npos);
        }
    }
}

// Whatever the file, the start shows what the menu shows for it: the report of a file to
// write, of one with errors, of one that is no text; the error box of a file that cannot be
// read. The main window is open in every case, and no file chooser was asked.
TEST_F(OpenFile, StartsWithTheReportTheMenuShows) {
    using namespace std::string_literals;
    enum class Made { Example, Written, Missing, Folder };
    struct Case {
        const char* name;
        Made made;
        std::string bytes;
        bool report;
    };
    const Case cases[] = {
        {"example", Made::Example, {}, true},
        {"faulty.gift", Made::Written, "::Six::Pick one {=a ~b ~c ~d ~e ~f}\n\n::E::Write {}\n",
         true},
        {"binary.gift", Made::Written, "GIF89a\x01\x02\0\xFF"s, true},
        {"missing.gift", Made::Missing, {}, false},
        {"folder.gift", Made::Folder, {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        program.reset();
        platform.clear();
        fs::path file = dir.path() / c.name;
        if (c.made == Made::Example)
            file = KAVO_EXAMPLE_OLYMPIAD;
        else if (c.made == Made::Written)
            writeBytes(file, c.bytes);
        else if (c.made == Made::Folder)
            fs::create_directories(file);
        ASSERT_TRUE(startWith(file));
        EXPECT_TRUE(form1()->isVisible());
        EXPECT_TRUE(platform.fileRequests.empty());
        const QStringList atStart = seen();
        ASSERT_FALSE(atStart.isEmpty());
        EXPECT_EQ(atStart.front().startsWith(u"box: "_s), !c.report)
            << atStart.front().toStdString();
        EXPECT_TRUE(atStart.front().contains(app::fromPath(file.filename())));

        if (TOlympiadReport* report = form1()->olympiadReport())
            report->close();
        platform.clear();
        platform.fileAnswers.push_back(app::fromPath(file));
        trigger("ImportOlympiad1");
        EXPECT_EQ(seen(), atStart);
    }
}
