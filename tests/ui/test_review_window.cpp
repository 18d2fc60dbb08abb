// SPDX-License-Identifier: MIT
// The task code review through the real main window: the layouts, Open task and Save
// changes with their messages and selection moves, failures, and the bytes on disk. Which
// folder a number opens and which task a Save may write are the logic's (PartSizes and
// TaskReview tests).
#include "ui/common/text_bridge.hpp"
#include "ui/support/ui_fixture.hpp"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>

namespace fs = std::filesystem;
using namespace kavo::test;
using namespace Qt::Literals::StringLiterals;
using kavo::app::fromPath;
using kavo::app::selectedRow;

namespace {

const char* const Files[] = {"task.asp", "task.out", "task.xml"};
const char* const Memos[] = {"Memo2", "Memo3", "Memo4"};

struct Review : UiFixture {
    fs::path out() const { return dir.path() / "Year"; }

    // Sizes entered, the review layout shown.
    void startReview(const char* a, const char* b, const char* c) {
        started("En\r\n");
        enterSizes(a, b, c);
        trigger("N1");
        platform.clear();
    }
    // A written task: its three files, each naming the task and the file.
    void writeTask(const fs::path& folder) {
        for (const char* file : Files)
            writeBytes(out() / folder / file,
                       folder.generic_string() + " " + file + cp1251("\r\nзадача\r\n"));
    }
    QString memo(const char* name) const { return find<QPlainTextEdit>(name)->toPlainText(); }
    // The box of a save: files written by hand without TASK.CFG read back as no task.
    static QString savedUnreadable(const char* folder) {
        return u"\nSaved successfully\nThe saved files do not read back as a task; its number is "
               u"marked red:\nThe task in "_s +
               QString::fromLatin1(folder) +
               u" cannot be read: the file TASK.CFG is missing or cannot be opened."_s;
    }
    std::optional<int> selected() const { return selectedRow(find<QListWidget>("ListBox4")); }
    void open(int number) {
        clickRow("ListBox4", number - 1);
        click("Button8");
    }
};

} // namespace

TEST_F(Review, LayoutsSwitchExactlyTheirWidgets) {
    startReview("3", "0", "0");
    const char* review[] = {"Label11", "Label12", "Label13", "Memo2",    "Memo3",   "Memo4",
                            "Button6", "Button7", "Button8", "Button10", "ListBox4"};
    const char* taskForm[] = {
        "Label1",   "Label4",          "Label5",          "Label10",   "Memo1",    "A",
        "E",        "VariantOtveta_1", "VariantOtveta_5", "Button1",   "Edit1",    "ListBox2",
        "ListBox3", "Button5",         "CheckBox1",       "CheckBox3", "GroupBox1"};
    const char* both[] = {"Edit2", "Edit3", "Edit4", "Button2", "Label19", "Toolkit", "Label9"};
    for (const char* back : {"Button7", "N2"}) {
        SCOPED_TRACE(back);
        trigger("N1");
        for (const char* name : review)
            EXPECT_TRUE(find<QWidget>(name)->isVisible()) << name;
        for (const char* name : taskForm)
            EXPECT_FALSE(find<QWidget>(name)->isVisible()) << name;
        for (const char* name : both)
            EXPECT_TRUE(find<QWidget>(name)->isVisible()) << name;
        EXPECT_FALSE(find<QWidget>("RadioGroup1")->isVisible());
        // ListBox4 lies above ListBox1, in the same place.
        EXPECT_EQ(find<QWidget>("ListBox4")->geometry(), find<QWidget>("ListBox1")->geometry());
        EXPECT_TRUE(find<QWidget>("ListBox4")->isVisibleTo(form1()->client()));

        for (const char* name : Memos)
            type(name, "typed");
        back[0] == 'N' ? trigger(back) : click(back);
        for (const char* name : review)
            EXPECT_FALSE(find<QWidget>(name)->isVisible()) << name;
        for (const char* name : taskForm)
            EXPECT_TRUE(find<QWidget>(name)->isVisible()) << name;
        EXPECT_FALSE(find<QWidget>("RadioGroup1")->isVisible());
        EXPECT_EQ(memo("Memo2"), u""_s);
        EXPECT_EQ(memo("Memo3"), u""_s);
        EXPECT_EQ(memo("Memo4"), u"typed"_s); // until the next Task code review empties it
    }
    trigger("N1");
    EXPECT_EQ(memo("Memo4"), u""_s);
}

TEST_F(Review, OpenEditAndSaveAddsOneLineBreakToEachFile) {
    startReview("3", "2", "1");
    writeTask("PartB/4");
    open(4);
    QTest::keyClick(find<QPlainTextEdit>("Memo2"), Qt::Key_End, Qt::ControlModifier);
    type("Memo2", u("<p>ещё</p>"));
    click("Button6");

    EXPECT_EQ(platform.informations(), QStringList{savedUnreadable("PartB/4")});
    const fs::path folder = out() / "PartB" / "4";
    EXPECT_EQ(readBytes(folder / "task.asp"),
              "PartB/4 task.asp" + cp1251("\r\nзадача\r\n<p>ещё</p>") + "\r\n");
    EXPECT_EQ(readBytes(folder / "task.out"), "PartB/4 task.out" + cp1251("\r\nзадача\r\n\r\n"));
    EXPECT_EQ(readBytes(folder / "task.xml"), "PartB/4 task.xml" + cp1251("\r\nзадача\r\n\r\n"));
    EXPECT_EQ(selected(), 4); // moved on; the next task is not loaded
    EXPECT_EQ(memo("Memo3"), u("PartB/4 task.out\nзадача\n"));
}

TEST_F(Review, MessagesOfOpenAndSaveAndTheirSelectionMoves) {
    startReview("3", "0", "0");
    writeTask("1");

    // Open with no number selected asks for one and leaves the fields.
    type("Memo2", "mine");
    click("Button8");
    EXPECT_EQ(platform.informations(), QStringList{u"\nSelect the task number!"_s});
    EXPECT_EQ(memo("Memo2"), u"mine"_s);

    // Save with no number selected writes nothing, says nothing, selects the first.
    platform.clear();
    click("Button6");
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_EQ(selected(), 0);
    EXPECT_EQ(readBytes(out() / "1" / "task.asp"), "1 task.asp" + cp1251("\r\nзадача\r\n"));

    // Save with an empty Memo2 asks to check the data and still moves on.
    find<QPlainTextEdit>("Memo2")->clear();
    click("Button6");
    EXPECT_EQ(platform.informations(), QStringList{u"\nCheck the entered data"_s});
    EXPECT_EQ(selected(), 1);
    EXPECT_EQ(readBytes(out() / "1" / "task.asp"), "1 task.asp" + cp1251("\r\nзадача\r\n"));
}

TEST_F(Review, AFailedOpenOrWriteStopsAtItsFile) {
    startReview("3", "0", "0");
    writeTask("1");
    writeTask("2");
    fs::remove(out() / "2" / "task.out");
    open(1);

    // A missing file stops Open there: Memo2 is task 2's, the others still task 1's.
    open(2);
    EXPECT_EQ(platform.errors(),
              QStringList{u"Cannot open file "_s + fromPath(out() / "2" / "task.out") +
                          u"\nNo such file or folder"_s});
    EXPECT_EQ(memo("Memo2"), u("2 task.asp\nзадача\n"));
    EXPECT_EQ(memo("Memo3"), u("1 task.out\nзадача\n"));
    EXPECT_EQ(memo("Memo4"), u("1 task.xml\nзадача\n"));
    // The fields hold no whole task now: Save writes nowhere.
    platform.clear();
    click("Button6");
    EXPECT_EQ(platform.informations(), QStringList{u"\nOpen task 2 before saving it!"_s});
    EXPECT_FALSE(fs::exists(out() / "2" / "task.out"));
    EXPECT_EQ(readBytes(out() / "1" / "task.out"), "1 task.out" + cp1251("\r\nзадача\r\n"));

    // A folder removed after the open: Save asks, and on Yes the first file cannot be
    // written, the selection stays.
    open(1);
    fs::remove_all(out() / "1");
    platform.clear();
    platform.questionAnswers = {true};
    click("Button6");
    EXPECT_EQ(platform.errors(),
              QStringList{u"Cannot create file "_s + fromPath(out() / "1" / "task.asp") +
                          u"\nNo such file or folder"_s});
    EXPECT_TRUE(platform.informations().isEmpty());
    EXPECT_FALSE(fs::exists(out() / "1"));
    EXPECT_EQ(selected(), 0);
}

TEST_F(Review, TextTheCodePageCannotHold) {
    startReview("3", "0", "0");
    writeTask("1");
    open(1);
    // In the answers it is refused, and nothing is written.
    type("Memo2", u("≤"));
    type("Memo3", u("≠"));
    click("Button6");
    EXPECT_EQ(platform.informations(),
              QStringList{u("\nThe file with answers contains characters that cannot be written "
                            "to task.out: ≠\nNothing was saved.")});
    EXPECT_EQ(readBytes(out() / "1" / "task.asp"), "1 task.asp" + cp1251("\r\nзадача\r\n"));
    EXPECT_EQ(selected(), 0);

    // In the page and the description it becomes a character reference.
    find<QPlainTextEdit>("Memo3")->clear();
    type("Memo4", u("≥"));
    platform.clear();
    click("Button6");
    EXPECT_EQ(platform.informations(), QStringList{savedUnreadable("1")});
    EXPECT_EQ(readBytes(out() / "1" / "task.asp"),
              "&#8804;1 task.asp" + cp1251("\r\nзадача\r\n\r\n"));
    EXPECT_EQ(readBytes(out() / "1" / "task.out"), "\r\n");
    EXPECT_EQ(readBytes(out() / "1" / "task.xml"),
              "&#8805;1 task.xml" + cp1251("\r\nзадача\r\n\r\n"));
}

TEST_F(Review, EveryByteSurvivesAnUnchangedOpenAndSave) {
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes += static_cast<char>(b);
    // Reading a file makes each line break CR LF; Save adds one CR LF at the end.
    std::string expected;
    for (const char b : bytes)
        expected += b == '\n' || b == '\r' ? std::string("\r\n") : std::string(1, b);
    expected += "\r\n";

    startReview("3", "0", "0");
    for (const char* file : Files)
        writeBytes(out() / "1" / file, bytes);
    open(1);
    ASSERT_TRUE(platform.boxes.empty());
    click("Button6");
    EXPECT_EQ(platform.informations(), QStringList{savedUnreadable("1")});
    for (const char* file : Files)
        EXPECT_EQ(readBytes(out() / "1" / file), expected) << file;
}

// A folder change empties the review: its files are the old tree's. Unsaved edits are asked
// about first (No, the default, keeps the folder and the edits).
TEST_F(Review, AFolderChangeEmptiesTheReview) {
    startReview("3", "0", "0");
    writeTask("1");
    open(1);
    type("Memo2", "edited");
    const fs::path other = dir.path() / "Other";
    fs::create_directories(other);
    const auto changeFolder = [&] {
        platform.folderAnswers.push_back(fromPath(other));
        QTest::mouseClick(find<QWidget>("Label19"), Qt::LeftButton);
    };

    changeFolder();
    ASSERT_EQ(platform.questions().size(), 1);
    EXPECT_FALSE(platform.boxes.front().defaultYes);
    EXPECT_EQ(form1()->OutputDir(), out());
    EXPECT_TRUE(memo("Memo2").contains(u"edited"_s));

    platform.clear();
    platform.questionAnswers = {true};
    changeFolder();
    EXPECT_EQ(form1()->OutputDir(), other);
    for (const char* name : Memos)
        EXPECT_EQ(memo(name), u""_s) << name;
    // Save has nothing to write: not "The fields hold task 1, not task 1".
    clickRow("ListBox4", 0);
    click("Button6");
    EXPECT_EQ(platform.informations(), QStringList{u"\nCheck the entered data"_s});
    EXPECT_FALSE(fs::exists(other / "1"));
}
