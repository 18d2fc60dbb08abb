// SPDX-License-Identifier: MIT
// The olympiad menu of the main window: a GIFT file imported through the report window
// and the task tree exported, checked against what the core writes on its own.
#include "core/olympiad/export.hpp"
#include "core/olympiad/olympiad_check.hpp"
#include "core/olympiad/olympiad_write.hpp"
#include "core/olympiad/tree_read.hpp"
#include "core/render/task_tree.hpp"
#include "ui/common/text_bridge.hpp"
#include "ui/main/olympiad_report.hpp"
#include "ui/support/ui_fixture.hpp"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <map>
#include <set>

namespace fs = std::filesystem;
using namespace kavo;
using namespace kavo::test;
using namespace Qt::Literals::StringLiterals;

namespace {

using Files = std::map<std::string, std::string>;

// Every file under dir with its bytes.
Files filesUnder(const fs::path& dir) {
    Files files;
    if (fs::exists(dir))
        for (const auto& entry : fs::recursive_directory_iterator(dir))
            if (entry.is_regular_file())
                files[fs::relative(entry.path(), dir).generic_string()] = readBytes(entry.path());
    return files;
}

olympiad::OlympiadImport checkedImport(const fs::path& file) {
    auto import = olympiad::importGiftFile(file);
    olympiad::checkImportedTasks(import, Lang::English);
    return import;
}

// A file with errors and warnings; the warning's place lies after characters that take
// two UTF-16 units.
const char* const FaultyFile = "::Six::Pick one {=a ~b ~c ~d ~e ~f}\n"
                               "\n"
                               "::\xF0\x9F\x98\x80\xD0\x96::\xF0\x9F\x98\x80 x? {=a#right ~b}\n"
                               "\n"
                               "::Open::Not closed {=a ~b\n";

// A bank as schools keep them: choice questions, the right answer first, among a numeric
// range, an essay, a matching question and a typed answer with two accepted answers.
const char* const Bank = "::One::Capital of France? {~Lyon =Paris ~Nice}\n\n"
                         "::Range::How many? {#1..5}\n\n"
                         "::Two::2 + 2? {~3 =4 ~5 ~22}\n\n"
                         "::Essay::Why? {}\n\n"
                         "::Three::Largest planet? {~Mars =Jupiter ~Venus}\n\n"
                         "::Pairs::Match {=a -> 1 =b -> 2 =c -> 3}\n\n"
                         "::Four::Smallest prime? {~1 =2 ~9 ~All of the above}\n\n"
                         "::Typed::Colour of the sky? {=blue =azure}\n";

struct OlympiadWindow : UiFixture {
    fs::path tree() const { return dir.path() / "Year"; }
    fs::path counter() const { return systemFolder() / "Authorisation" / "Tasks_in_view.txt"; }

    TForm1* startedWithAuthor() {
        prepare("En\r\n");
        writeBytes(systemFolder() / "Authorisation" / "save.txt", "0\r\n");
        EXPECT_TRUE(start());
        return form1();
    }

    TOlympiadReport* importFile(const fs::path& file) {
        platform.fileAnswers.push_back(app::fromPath(file));
        trigger("ImportOlympiad1");
        return form1()->olympiadReport();
    }

    static void clickItem(QListWidget* list, int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                          list->visualItemRect(list->item(row)).center());
    }
};

} // namespace

// Write puts the tasks on disk byte for byte as the core alone writes them, sets the part
// sizes as Ok does and closes the report.
TEST_F(OlympiadWindow, ImportWritesWhatTheCoreWrites) {
    startedWithAuthor();
    TOlympiadReport* report = importFile(KAVO_EXAMPLE_OLYMPIAD);
    ASSERT_NE(report, nullptr);
    ASSERT_EQ(platform.fileRequests.size(), 1u);
    EXPECT_TRUE(platform.fileRequests[0].filter.contains(u"*.gift *.txt"_s));
    EXPECT_TRUE(report->isVisible());
    EXPECT_EQ(report->Errors->count(), 0);
    ASSERT_TRUE(report->Write->isVisible());
    QTest::mouseClick(report->Write, Qt::LeftButton);

    TempDir other;
    copySystemFolder(other.path());
    writeBytes(other.path() / "System_folder" / "Authorisation" / "save.txt", "0\r\n");
    const auto import = checkedImport(KAVO_EXAMPLE_OLYMPIAD);
    const auto written = olympiad::writeOlympiad(import, other.path() / "System_folder",
                                                 other.path() / "Year", Lang::English, {});
    EXPECT_EQ(filesUnder(tree()), filesUnder(other.path() / "Year"));
    EXPECT_EQ(readBytes(counter()),
              readBytes(other.path() / "System_folder" / "Authorisation" / "Tasks_in_view.txt"));

    EXPECT_FALSE(report->isVisible());
    EXPECT_TRUE(platform.errors().isEmpty()) << platform.errors().join(u'\n').toStdString();
    EXPECT_EQ(platform.informations(),
              QStringList{u"Tasks written: %1, into %2"_s.arg(written).arg(app::fromPath(tree()))});
    const std::pair<const char*, int> sizes[] = {
        {"Edit2", import.sizes.a}, {"Edit3", import.sizes.b}, {"Edit4", import.sizes.c}};
    for (const auto& [field, size] : sizes)
        EXPECT_EQ(find<QLineEdit>(field)->text(), QString::number(size)) << field;
    EXPECT_EQ(find<QListWidget>("ListBox1")->count(), import.sizes.total());
}

// A file with errors: every problem listed with its place, errors apart from warnings, no
// Write button and nothing written; selecting a line puts the cursor on its place.
TEST_F(OlympiadWindow, AFileWithErrorsWritesNothingAndShowsEachPlace) {
    startedWithAuthor();
    const fs::path file = dir.path() / "faulty.gift";
    writeBytes(file, FaultyFile);
    TOlympiadReport* report = importFile(file);
    ASSERT_NE(report, nullptr);

    const auto import = checkedImport(file);
    ASSERT_FALSE(import.ok());
    std::map<olympiad::Severity, QStringList> expected;
    for (const auto& p : import.problems)
        expected[p.severity] << u"Line %1, column %2: %3"_s.arg(p.pos.line)
                                    .arg(p.pos.column)
                                    .arg(QString::fromStdString(p.note.text(Lang::English)));
    ASSERT_FALSE(expected[olympiad::Severity::Warning].isEmpty());
    const std::pair<QListWidget*, olympiad::Severity> lists[] = {
        {report->Errors, olympiad::Severity::Error},
        {report->Warnings, olympiad::Severity::Warning}};
    for (const auto& [list, severity] : lists) {
        QStringList shown;
        for (int i = 0; i < list->count(); ++i)
            shown << list->item(i)->text();
        EXPECT_EQ(shown, expected[severity]);
    }
    EXPECT_FALSE(report->Write->isVisible());
    EXPECT_TRUE(filesUnder(tree()).empty());

    // Each line moves the cursor to its line and column, counted in characters.
    std::vector<olympiad::SourcePos> places;
    for (const auto& severity : {olympiad::Severity::Error, olympiad::Severity::Warning})
        for (const auto& p : import.problems)
            if (p.severity == severity)
                places.push_back(p.pos);
    int index = 0;
    for (const auto& [list, severity] : lists)
        for (int row = 0; row < list->count(); ++row, ++index) {
            clickItem(list, row);
            const QTextCursor cursor = report->Source->textCursor();
            const QString before = cursor.block().text().left(cursor.positionInBlock());
            EXPECT_EQ(cursor.blockNumber() + 1, places[index].line) << index;
            EXPECT_EQ(before.toUcs4().size() + 1, places[index].column) << index;
        }
    EXPECT_GT(places.back().column, 3); // the warning lies after the wide characters
}

// Write asks for the author's details as Add task does, then asks once before replacing
// written tasks (No by default, and No writes nothing); a task that cannot be written is
// named in an error box, and the report stays for another try.
TEST_F(OlympiadWindow, WriteAsksForTheAuthorAndBeforeReplacing) {
    prepare("En\r\n");
    ASSERT_TRUE(start());
    TOlympiadReport* report = importFile(KAVO_EXAMPLE_OLYMPIAD);
    QTest::mouseClick(report->Write, Qt::LeftButton);
    ASSERT_EQ(platform.informations().size(), 1);
    ASSERT_NE(program->form2(), nullptr);
    EXPECT_TRUE(program->form2()->isVisible());
    EXPECT_TRUE(filesUnder(tree()).empty());

    writeBytes(systemFolder() / "Authorisation" / "save.txt", "0\r\n");
    const auto import = checkedImport(KAVO_EXAMPLE_OLYMPIAD);
    olympiad::writeOlympiad(import, systemFolder(), tree(), Lang::English, {});
    const auto before = filesUnder(tree());
    const auto count = readBytes(counter());
    platform.clear();
    platform.questionAnswers = {false};
    QTest::mouseClick(report->Write, Qt::LeftButton);
    ASSERT_EQ(platform.questions().size(), 1);
    EXPECT_FALSE(platform.boxes.back().defaultYes);
    for (const auto& folder : olympiad::existingTasks(import, tree()))
        EXPECT_TRUE(platform.questions()[0].contains(app::fromPath(folder.generic_string())))
            << folder;
    EXPECT_EQ(filesUnder(tree()), before);
    EXPECT_EQ(readBytes(counter()), count);
    EXPECT_TRUE(report->isVisible());

    // A file where the third task's folder should be.
    const auto third = olympiad::importedOlympiad(import, tree()).place(import.tasks[2].number);
    fs::remove_all(tree() / third->folder);
    writeBytes(tree() / third->folder, "in the way");
    platform.clear();
    platform.questionAnswers = {true};
    QTest::mouseClick(report->Write, Qt::LeftButton);
    ASSERT_EQ(platform.errors().size(), 1);
    EXPECT_TRUE(platform.errors()[0].contains(QString::fromStdString(import.tasks[2].title)));
    EXPECT_EQ(readBytes(counter()), std::to_string(std::stoi(count) + 2) + "\r\n");
    EXPECT_TRUE(report->isVisible());
}

// Each format is written where the teacher chose, as the core exports the tree read back;
// the report lists the task that does not read back and every loss.
TEST_F(OlympiadWindow, ExportWritesEachFormatAndReportsWhatIsLost) {
    startedWithAuthor();
    const auto import = checkedImport(KAVO_EXAMPLE_OLYMPIAD);
    olympiad::writeOlympiad(import, systemFolder(), tree(), Lang::English, {});
    const auto broken = render::taskFolders(tree()).front();
    writeBytes(tree() / broken / "task.out", "not a scoring file\r\n");
    const auto read = olympiad::readTree(tree(), systemFolder(), Lang::English);
    ASSERT_EQ(read.unreadable.size(), 1u);

    struct Case {
        const char* action;
        olympiad::ExportFormat format;
        const char* typed; // the name typed into the chooser
        const char* written;
    };
    const Case cases[] = {
        {"ExportGift1", olympiad::ExportFormat::Gift, "olympiad", "olympiad.gift"},
        {"ExportMoodle1", olympiad::ExportFormat::MoodleXml, "moodle.xml", "moodle.xml"},
        {"ExportQti1", olympiad::ExportFormat::Qti, "qti", "qti"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.action);
        const QString typed = app::fromPath(dir.path() / c.typed);
        if (c.format == olympiad::ExportFormat::Qti)
            platform.folderAnswers.push_back(typed);
        else
            platform.fileAnswers.push_back(typed);
        trigger(c.action);
        const auto exported = olympiad::exportOlympiad(c.format, read.olympiad, read.tasks);
        const fs::path out = dir.path() / c.written;
        if (c.format == olympiad::ExportFormat::Qti)
            for (const auto& f : exported.files)
                EXPECT_EQ(readBytes(out / f.name), f.bytes) << f.name;
        else
            EXPECT_EQ(readBytes(out), exported.files.at(0).bytes);

        TOlympiadReport* report = form1()->olympiadReport();
        ASSERT_NE(report, nullptr);
        EXPECT_TRUE(report->isVisible());
        EXPECT_FALSE(report->Write->isVisible());
        ASSERT_EQ(report->Errors->count(), 1);
        EXPECT_TRUE(report->Errors->item(0)->text().startsWith(app::fromPath(broken)));
        std::size_t notes = 0;
        for (const auto& task : exported.losses)
            notes += task.notes.size();
        EXPECT_EQ(static_cast<std::size_t>(report->Warnings->count()), notes);
        report->close();
    }
    EXPECT_TRUE(platform.errors().isEmpty()) << platform.errors().join(u'\n').toStdString();
}

// Alt and a letter reaches each list, the file's text and each button of the report, in
// either language; no two share a letter.
TEST_F(OlympiadWindow, ReportMnemonicsAreUnique) {
    for (const char* language : {"En\r\n", "Rus\r\n"}) {
        program.reset();
        prepare(language);
        ASSERT_TRUE(start());
        const fs::path file = dir.path() / "bank.gift";
        writeBytes(file, Bank);
        TOlympiadReport* report = importFile(file);
        EXPECT_TRUE(report->Numbers->isVisible());
        std::set<QKeySequence> keys;
        for (const QString& caption :
             {report->Label1->text(), report->Label2->text(), report->Label3->text(),
              report->Label4->text(), report->Label5->text(), report->FirstAnswer->text(),
              report->Shuffle->text(), report->Write->text(), report->Close->text()}) {
            const QKeySequence key = QKeySequence::mnemonic(caption);
            EXPECT_FALSE(key.isEmpty()) << caption.toStdString();
            keys.insert(key);
        }
        EXPECT_EQ(keys.size(), 9u) << language;
    }
}

// A bank with numeric, essay and matching questions among choice questions: the report
// lists them as left out with their lines, shows the numbers the others take, and one press
// writes the choice questions, as the core writes them with the questions left out.
TEST_F(OlympiadWindow, ABankImportsItsChoiceQuestionsInOneStep) {
    startedWithAuthor();
    const fs::path file = dir.path() / "bank.gift";
    writeBytes(file, Bank);
    TOlympiadReport* report = importFile(file);
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(report->Errors->count(), 0);
    ASSERT_TRUE(report->LeftOut->isVisible());
    QStringList leftOut, numbers;
    for (int i = 0; i < report->LeftOut->count(); ++i)
        leftOut << report->LeftOut->item(i)->text().section(u':', 0, 0);
    EXPECT_EQ(leftOut, (QStringList{u"Line 3, column 20"_s, u"Line 7, column 15"_s,
                                    u"Line 11, column 16"_s, u"Line 15, column 29"_s}));
    for (int i = 0; i < report->Numbers->count(); ++i)
        numbers << report->Numbers->item(i)->text();
    EXPECT_EQ(
        numbers,
        (QStringList{u"Task 1: the question at line 1"_s, u"Task 2: the question at line 5"_s,
                     u"Task 3: the question at line 9"_s, u"Task 4: the question at line 13"_s}));
    EXPECT_EQ(report->Write->text(), u"W&rite the 4 tasks that fit"_s);
    EXPECT_TRUE(report->FirstAnswer->isVisible());
    EXPECT_TRUE(report->Shuffle->isVisible());
    // All four single-choice questions are right on their second variant.
    EXPECT_TRUE(report->Warnings->item(0)->text().startsWith(
        u"The right answers bunch on one letter: 4 of the 4 single-choice tasks are right on B;"_s))
        << report->Warnings->item(0)->text().toStdString();
    QTest::mouseClick(report->Write, Qt::LeftButton);

    TempDir other;
    copySystemFolder(other.path());
    writeBytes(other.path() / "System_folder" / "Authorisation" / "save.txt", "0\r\n");
    auto import = olympiad::importOlympiadFile(file);
    olympiad::checkImportedTasks(import, Lang::English);
    olympiad::writeOlympiad(import, other.path() / "System_folder", other.path() / "Year",
                            Lang::English, {});
    EXPECT_EQ(filesUnder(tree()).size(), 4u * 4);
    EXPECT_EQ(filesUnder(tree()), filesUnder(other.path() / "Year"));
    EXPECT_FALSE(report->isVisible());
    EXPECT_TRUE(platform.errors().isEmpty()) << platform.errors().join(u'\n').toStdString();
}

// The choices of the report read the file again: the first accepted answer makes the typed
// question a task, the shuffle moves the right answers off B; Write writes what is shown.
TEST_F(OlympiadWindow, ChoicesReadTheFileAgainAndWriteWhatTheyShow) {
    startedWithAuthor();
    const fs::path file = dir.path() / "bank.gift";
    writeBytes(file, Bank);
    TOlympiadReport* report = importFile(file);
    report->FirstAnswer->click();
    EXPECT_TRUE(report->FirstAnswer->isChecked());
    EXPECT_EQ(report->Write->text(), u"W&rite the 5 tasks that fit"_s);
    report->Shuffle->click();
    EXPECT_TRUE(report->FirstAnswer->isChecked());
    EXPECT_TRUE(report->Shuffle->isChecked());
    EXPECT_TRUE(report->Warnings->item(0)->text().startsWith(u"The variants of"_s));
    QTest::mouseClick(report->Write, Qt::LeftButton);

    const auto read = olympiad::readTree(tree(), systemFolder(), Lang::English);
    auto import = olympiad::importOlympiadFile(file, {true, true});
    ASSERT_EQ(read.tasks.size(), 5u);
    for (std::size_t i = 0; i < read.tasks.size(); ++i)
        EXPECT_EQ(read.tasks[i], import.tasks[i].task) << i;
    EXPECT_EQ(read.tasks[4].typedAnswer, "blue");
    EXPECT_EQ(read.tasks[3].variants[3], "All of the above");
    EXPECT_FALSE(olympiad::answersBunched(read.tasks).has_value());
}
