// SPDX-License-Identifier: MIT
// Add task, Save changes, closing and the language switch through the real main window: the
// questions they ask before work is replaced or lost, with their default No, what each
// answer does to the disk and the form, and the status line after a write. Which questions
// the logic asks and in which order is the logic's test.
#include "ui/common/text_bridge.hpp"
#include "ui/support/ui_fixture.hpp"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QStatusBar>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace kavo::test;
using namespace Qt::Literals::StringLiterals;
using kavo::app::selectedRow;
using Kind = RecordingPlatform::Kind;

namespace {

struct AddFlow : UiFixture {
    fs::path out() const { return dir.path() / "Year"; }

    // The program in the language, the author known, an empty task tree, the sizes entered.
    void startWithSizes(const char* language, const char* a) {
        prepare(language);
        fs::remove_all(out());
        writeBytes(systemFolder() / "Authorisation" / "save.txt", "0\r\n");
        ASSERT_TRUE(start());
        enterSizes(a, "0", "0");
        platform.clear();
    }
    // A single-choice task typed into the form for the number at row.
    void fill(int row, const QString& condition) {
        clickRow("ListBox1", row);
        clickRow("ListBox2", 1);
        clickRow("ListBox3", 1);
        find<QPlainTextEdit>("Memo1")->clear();
        type("Memo1", condition);
        const char* variants[] = {"3", "4", "5", "6", "7"};
        for (int i = 0; i < 5; ++i) {
            const std::string name = "VariantOtveta_" + std::to_string(i + 1);
            find<QLineEdit>(name.c_str())->clear();
            type(name.c_str(), variants[i]);
        }
        find<QLineEdit>("Edit1")->clear();
        type("Edit1", "b");
    }
    QString condition() const { return find<QPlainTextEdit>("Memo1")->toPlainText(); }
    std::optional<int> row() const { return selectedRow(find<QListWidget>("ListBox1")); }
    QString status() const { return form1()->statusBar()->currentMessage(); }
    std::string page(const char* number) const { return readBytes(out() / number / "task.asp"); }
};

} // namespace

// Writing onto a written number asks first, No by default: No keeps the files, the form and
// its number; Yes replaces, says so in the status line and moves on.
TEST_F(AddFlow, AddTaskOnAWrittenNumberAsksBeforeReplacing) {
    startWithSizes("En\r\n", "3");
    fill(2, u"The last task"_s);
    click("Button1");
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_EQ(status(), u"Task 3 (single choice) written to 3"_s);
    EXPECT_EQ(row(), std::nullopt); // no number after the last

    fill(0, u"First"_s);
    click("Button1");
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_EQ(row(), 1);
    fill(0, u"Second"_s);
    const std::string written = page("1");
    const std::string counter = readBytes(systemFolder() / "Authorisation" / "Tasks_in_view.txt");
    for (const bool yes : {false, true}) {
        SCOPED_TRACE(yes);
        platform.clear();
        platform.questionAnswers = {yes};
        click("Button1");
        ASSERT_EQ(platform.boxes.size(), 1u);
        EXPECT_EQ(platform.boxes[0].kind, Kind::Question);
        EXPECT_EQ(platform.boxes[0].text,
                  u"Task 1 (single choice) is already written. Replace it?"_s);
        EXPECT_FALSE(platform.boxes[0].defaultYes);
        if (!yes) {
            EXPECT_EQ(page("1"), written);
            EXPECT_EQ(readBytes(systemFolder() / "Authorisation" / "Tasks_in_view.txt"), counter);
            EXPECT_EQ(condition(), u"Second"_s);
            EXPECT_EQ(find<QLineEdit>("VariantOtveta_5")->text(), u"7"_s);
            EXPECT_EQ(row(), 0);
            EXPECT_EQ(status(), u"Task 1 (single choice) written to 1"_s); // the last write's
        }
    }
    EXPECT_NE(page("1").find("Second"), std::string::npos);
    EXPECT_EQ(condition(), u""_s);
    EXPECT_FALSE(form1()->holdsUnwrittenText());
}

// A "<" that may vanish from the page is asked about in the interface language, No by
// default; No writes nothing and keeps the form. The status line speaks the same language.
TEST_F(AddFlow, StrayLessThanAskedInEitherLanguage) {
    struct Case {
        const char* language;
        QString question; // how the question begins
        QString place;    // the field and the text it names
        QString written;
    };
    const Case cases[] = {
        {"En\r\n", u"\nThis text may not show as typed on the page"_s, u"Condition: \"x <y\""_s,
         u"Task 1 (single choice) written to 1"_s},
        {"Rus\r\n", u("\nЭтот текст может показаться на странице не так, как набран"),
         u("Условие: «x <y»"), u("Задача 1 (один ответ) записана в 1")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        program.reset();
        startWithSizes(c.language, "3");
        fill(0, u"x <y"_s);
        click("Button1");
        ASSERT_EQ(platform.questions().size(), 1u);
        EXPECT_TRUE(platform.boxes[0].text.startsWith(c.question))
            << platform.boxes[0].text.toStdString();
        EXPECT_TRUE(platform.boxes[0].text.contains(c.place))
            << platform.boxes[0].text.toStdString();
        EXPECT_FALSE(platform.boxes[0].defaultYes);
        EXPECT_FALSE(fs::exists(out() / "1"));
        EXPECT_EQ(condition(), u"x <y"_s);
        EXPECT_EQ(status(), QString());

        platform.questionAnswers = {true};
        click("Button1");
        EXPECT_NE(page("1").find("x <y"), std::string::npos);
        EXPECT_EQ(status(), c.written);
        EXPECT_EQ(row(), 1);
    }
}

// Save changes asks, No by default, when a file changed on disk after Open task.
TEST_F(AddFlow, SaveChangesAsksWhenTheFilesChangedOnDisk) {
    startWithSizes("En\r\n", "3");
    for (const char* file : {"task.asp", "task.out", "task.xml"})
        writeBytes(out() / "1" / file, std::string(file) + "\r\n");
    trigger("N1");
    clickRow("ListBox4", 0);
    click("Button8");
    type("Memo2", "mine ");
    writeBytes(out() / "1" / "task.xml", "changed by another program\r\n");

    click("Button6");
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text, u"The files of task 1 changed on disk after Open task: "
                                      u"task.xml\nSave changes over them?"_s);
    EXPECT_FALSE(platform.boxes[0].defaultYes);
    EXPECT_EQ(readBytes(out() / "1" / "task.asp"), "task.asp\r\n");
    EXPECT_EQ(selectedRow(find<QListWidget>("ListBox4")), 0);
    EXPECT_TRUE(platform.informations().isEmpty());
}

// Closing and the language switch ask, No by default, while a typed task is not written
// (in the form or in the Edits builder); No keeps the program running as it was.
TEST_F(AddFlow, ClosingAndSwitchingAskWhileATypedTaskIsNotWritten) {
    enum class Typed { Nothing, Form, Erased, Written, Edits };
    struct Case {
        const char* name;
        Typed typed;
        bool asks;
    };
    const Case cases[] = {
        {"nothing typed", Typed::Nothing, false},
        {"a condition typed", Typed::Form, true},
        {"typed and erased again", Typed::Erased, false},
        {"typed and written", Typed::Written, false},
        {"text in the Edits builder", Typed::Edits, true},
    };
    const QString closeQuestion =
        u"A task you typed is not written yet and will be lost. Close the program anyway?"_s;
    const QString switchQuestion =
        u"A task you typed is not written yet and will be lost: the program starts again in "
        u"the new language. Switch the language anyway?"_s;
    for (const Case& c : cases) {
        for (const bool closing : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (closing ? ", close" : ", switch"));
            program.reset();
            startWithSizes("En\r\n", "3");
            if (c.typed == Typed::Form || c.typed == Typed::Erased)
                type("Edit7", "Name");
            if (c.typed == Typed::Erased)
                find<QLineEdit>("Edit7")->clear();
            if (c.typed == Typed::Written) {
                fill(0, u"Written"_s);
                click("Button1");
                ASSERT_TRUE(platform.boxes.empty());
            }
            if (c.typed == Typed::Edits)
                form1()->setUnwrittenElsewhere([] { return true; });

            // No: nothing changes. Yes (or no question): the program ends.
            for (const bool yes : {false, true}) {
                platform.clear();
                platform.questionAnswers = {yes};
                closing ? (void)form1()->close() : trigger("Russian1");
                const QStringList asked = platform.questions();
                EXPECT_EQ(asked, c.asks ? QStringList{closing ? closeQuestion : switchQuestion}
                                        : QStringList{});
                if (c.asks) {
                    EXPECT_FALSE(platform.boxes[0].defaultYes);
                }
                const bool ends = yes || !c.asks;
                EXPECT_EQ(program->ended(), ends);
                EXPECT_EQ(platform.restarts.size(), !closing && ends ? 1u : 0u);
                EXPECT_EQ(readBytes(systemFolder() / "Language" / "Language.txt"),
                          !closing && ends ? "Rus\r\n" : "En\r\n");
                if (ends)
                    break;
                EXPECT_TRUE(form1()->isVisible());
            }
        }
    }

    // Closing the Edits builder ends the program too: it asks about the task form's text.
    program.reset();
    startWithSizes("En\r\n", "3");
    type("Edit7", "Name");
    trigger("N4");
    ASSERT_NE(program->form3(), nullptr);
    platform.clear();
    program->form3()->close();
    EXPECT_EQ(platform.questions(), QStringList{closeQuestion});
    EXPECT_FALSE(program->ended());
}

// Another program holding the task tree: Add task asks in the interface language whether to
// wait; No writes nothing and keeps the form and the counter; once the other program is done,
// Add task writes without asking.
TEST_F(AddFlow, HeldTreeAsksAndNoWritesNothing) {
    struct Case {
        const char* language;
        const char* question; // how it begins
    };
    const Case cases[] = {
        {"En\r\n", "Another program is writing the folder "},
        {"Rus\r\n", "Другая программа записывает папку "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        startWithSizes(c.language, "3");
        fs::create_directories(out());
        const std::string counter =
            readBytes(systemFolder() / "Authorisation" / "Tasks_in_view.txt");
        // A second descriptor of the folder stands for the other program's lock.
        const int other = ::open(out().c_str(), O_RDONLY | O_DIRECTORY);
        ASSERT_GE(other, 0);
        ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
        fill(0, u"Held"_s);
        platform.questionAnswers = {false};
        click("Button1");
        const QStringList asked = platform.questions();
        ASSERT_EQ(asked.size(), 1);
        EXPECT_TRUE(asked[0].startsWith(u(c.question))) << asked[0].toStdString();
        EXPECT_TRUE(asked[0].contains(kavo::app::fromPath(out())));
        // The answer is report enough: no box follows, the status line keeps it.
        EXPECT_TRUE(platform.errors().empty()) << platform.errors().join(u'\n').toStdString();
        EXPECT_TRUE(form1()->statusBar()->currentMessage().startsWith(u(c.question)))
            << form1()->statusBar()->currentMessage().toStdString();
        EXPECT_FALSE(fs::exists(out() / "1"));
        EXPECT_EQ(readBytes(systemFolder() / "Authorisation" / "Tasks_in_view.txt"), counter);
        EXPECT_EQ(condition(), u"Held"_s);
        EXPECT_TRUE(form1()->holdsUnwrittenText());

        platform.clear();
        ::close(other);
        click("Button1");
        EXPECT_TRUE(platform.questions().empty());
        EXPECT_NE(page("1").find("Held"), std::string::npos);
        EXPECT_NE(readBytes(systemFolder() / "Authorisation" / "Tasks_in_view.txt"), counter);
        program.reset();
    }
}
