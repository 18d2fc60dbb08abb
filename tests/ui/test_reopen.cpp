// SPDX-License-Identifier: MIT
// Written tasks opened back through the real windows: into the task form or the Edits
// builder and written again unchanged, or into the code review when they do not read back.
#include "core/auth/saved_author.hpp"
#include "core/render/render.hpp"
#include "core/tasks/add_task.hpp"
#include "support/sample_tasks.hpp"
#include "ui/common/text_bridge.hpp"
#include "ui/support/ui_fixture.hpp"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>

namespace fs = std::filesystem;
using namespace kavo::test;
using namespace Qt::Literals::StringLiterals;
using kavo::model::Task;
using kavo::model::TaskKind;

using kavo::test::choiceTask;

namespace {

const char* const Files[] = {"task.asp", "TASK.CFG", "task.out", "task.xml"};

struct Reopen : UiFixture {
    fs::path out() const { return dir.path() / "Year"; }
    kavo::model::Olympiad olympiad() const { return {out(), {3, 2, 1}}; }

    // Started in English with the sizes 3, 2, 1 and the author's details given.
    void startWithSizes() {
        prepare("En\r\n");
        writeBytes(systemFolder() / "Authorisation" / "save.txt", "0\r\n");
        ASSERT_TRUE(start());
        enterSizes("3", "2", "1");
        platform.clear();
    }
    // Writes the task as the program does; returns its folder under the task tree.
    fs::path write(const Task& task) const {
        if (task.kind == TaskKind::Edits) {
            const fs::path folder = *olympiad().editsFolder(task.folder);
            kavo::render::writePackage(
                out(), kavo::render::renderEdits(
                           task, kavo::render::readEditsTemplates(systemFolder()), folder));
            return folder;
        }
        return kavo::tasks::writeTask(task, olympiad(), systemFolder(), kavo::Lang::English);
    }
    std::vector<std::string> files(const fs::path& folder) const {
        std::vector<std::string> bytes;
        for (const char* file : Files)
            bytes.push_back(readBytes(out() / folder / file));
        return bytes;
    }
    // Saves the review fields of a number unchanged.
    void saveInReview(int number) {
        trigger("N1");
        clickRow("ListBox4", number - 1);
        click("Button8");
        click("Button6");
        trigger("N2");
    }
};

Task edits(const char* folder, int questions) {
    Task task;
    task.kind = TaskKind::Edits;
    task.condition = cp1251("Решите систему");
    for (int i = 0; i < questions; ++i)
        task.subQuestions.push_back({"question " + std::to_string(i), std::to_string(i)});
    task.title = cp1251("Поезд \"Ласточка\"");
    task.folder = folder;
    return task;
}

} // namespace

TEST_F(Reopen, EveryKindWrittenAgainUnchangedGivesTheSameBytes) {
    struct Case {
        const char* name;
        Task task;
        bool reviewSaved = false; // saved unchanged in the code review before
    };
    std::vector<Case> cases;
    {
        Task t = choiceTask(TaskKind::SingleChoice, 1, 0);
        t.answer = 2;
        t.picture = true;
        t.names = kavo::model::OwnNames{cp1251("Углы \"треугольника\""), "Angles"};
        cases.push_back({"single, own names", t});
    }
    {
        Task t;
        t.kind = TaskKind::TypedAnswer;
        t.number = 2;
        t.condition = cp1251("Сколько будет 2 + 2?");
        t.typedAnswer = "4";
        cases.push_back({"typed", t, true});
    }
    {
        Task t = choiceTask(TaskKind::FoldedChoice, 4, 0b10000);
        t.answer = 3;
        cases.push_back({"folded, E removed", t});
    }
    {
        Task t = choiceTask(TaskKind::MultipleChoice, 5, 0b11000);
        t.answers = 0b101;
        cases.push_back({"multiple, D and E removed", t});
    }
    {
        Task t = choiceTask(TaskKind::MultipleChoiceFolded, 6, 0);
        t.answers = 0b10010;
        cases.push_back({"multiple folded", t, true});
    }
    cases.push_back({"Edits, 4", edits("PartA/3", 4)});
    cases.push_back({"Edits, 3, saved in the review", edits("PartA/2", 3)});
    cases.push_back({"Edits, 2, own folder", edits(cp1251("Системы/1").c_str(), 2)});

    startWithSizes();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path folder = write(c.task);
        const auto written = files(folder);
        if (c.reviewSaved)
            saveInReview(c.task.number);
        platform.clear();

        form1()->reopenTask(folder);
        platform.questionAnswers = {true}; // replace the task there
        if (c.task.kind == TaskKind::Edits) {
            TForm3* f3 = program->form3();
            ASSERT_TRUE(f3 && f3->isVisible());
            EXPECT_FALSE(form1()->isVisible());
            EXPECT_FALSE(f3->holdsUnwrittenText());
            QTest::mouseClick(f3->findChild<QPushButton*>(u"Button1"_s), Qt::LeftButton);
            f3->findChild<QAction*>(u"N1"_s)->trigger();
        } else {
            EXPECT_TRUE(find<QWidget>("Button1")->isVisible()) << "the task form layout";
            EXPECT_EQ(kavo::app::selectedRow(find<QListWidget>("ListBox1")), c.task.number - 1);
            click("Button1");
        }
        EXPECT_TRUE(platform.informations().isEmpty())
            << platform.informations().join(u'|').toStdString();
        EXPECT_TRUE(platform.errors().isEmpty()) << platform.errors().join(u'|').toStdString();
        EXPECT_EQ(files(folder), written);
        EXPECT_TRUE(form1()->isVisible());
    }
}

// A package edited by hand opens in the code review with the reason; fixed and saved there,
// Edit in the form opens it in the task form. An Edits folder that does not read back says
// why in a box.
TEST_F(Reopen, AHandEditedPackageOpensInTheReview) {
    startWithSizes();
    Task t = choiceTask(TaskKind::SingleChoice, 2, 0);
    const fs::path folder = write(t);
    const std::string description = readBytes(out() / folder / "task.xml");
    writeBytes(out() / folder / "task.xml", "<!-- by hand -->\r\n" + description);

    form1()->reopenTask(folder);
    ASSERT_EQ(platform.informations().size(), 1);
    EXPECT_TRUE(platform.informations()[0].startsWith(
        u"\nThe task in PartA/2 does not read back as it was written, so it opens in the code "
        "review.\n"_s))
        << platform.informations()[0].toStdString();
    EXPECT_TRUE(platform.informations()[0].contains(u"task.xml"_s));
    EXPECT_TRUE(find<QWidget>("ListBox4")->isVisible());
    EXPECT_EQ(kavo::app::selectedRow(find<QListWidget>("ListBox4")), 1);
    auto* memo4 = find<QPlainTextEdit>("Memo4");
    EXPECT_TRUE(memo4->toPlainText().startsWith(u"<!-- by hand -->\n"_s));

    // Unsaved changes in the review are asked about before they are left.
    memo4->setPlainText(memo4->toPlainText().remove(u"<!-- by hand -->\n"_s));
    memo4->document()->setModified(true);
    platform.clear();
    click("Button10");
    ASSERT_EQ(platform.questions().size(), 1);
    EXPECT_FALSE(platform.boxes[0].defaultYes);
    EXPECT_TRUE(find<QWidget>("ListBox4")->isVisible());
    // Another unreadable task would take the review's place: asked too, No keeps the edits.
    const fs::path other = write(choiceTask(TaskKind::SingleChoice, 3, 0));
    writeBytes(out() / other / "task.asp", "by hand\r\n");
    const QString edited = memo4->toPlainText();
    platform.clear();
    form1()->reopenTask(other);
    EXPECT_EQ(platform.questions(),
              QStringList{u"The code review holds changes that are not saved. Open another task "
                          "there without them?"_s});
    EXPECT_EQ(memo4->toPlainText(), edited);
    EXPECT_EQ(kavo::app::selectedRow(find<QListWidget>("ListBox4")), 1);

    click("Button6");
    clickRow("ListBox4", 1);
    platform.clear();
    click("Button10");
    EXPECT_TRUE(platform.boxes.empty()) << platform.boxes[0].text.toStdString();
    EXPECT_TRUE(find<QWidget>("Button1")->isVisible());
    EXPECT_EQ(find<QLineEdit>("VariantOtveta_5")->text(), u"Echo"_s);

    const fs::path bad = write(edits("Extra", 2));
    writeBytes(out() / bad / "task.asp", "by hand\r\n");
    platform.clear();
    form1()->reopenTask(bad);
    ASSERT_EQ(platform.informations().size(), 1);
    EXPECT_TRUE(platform.informations()[0].startsWith(
        u"\nThe task in Extra cannot be opened in the task form or the Edits builder.\n"_s));
    EXPECT_FALSE(program->form3() && program->form3()->isVisible());
}

// A task written under another author's name opens in the task form, and the box says which
// author line it was written with: writing it again would change that line.
TEST_F(Reopen, AnotherAuthorLineIsSaidOnOpening) {
    startWithSizes();
    kavo::auth::saveAuthor(dir.path(), "Petrov & Co");
    const fs::path folder = write(choiceTask(TaskKind::SingleChoice, 2, 0));
    kavo::auth::saveAuthor(dir.path(), "Someone else");
    form1()->reopenTask(folder);
    EXPECT_TRUE(find<QWidget>("Button1")->isVisible());
    EXPECT_EQ(platform.informations(),
              QStringList{u"\nThe task in PartA/2 was written with another author line: Petrov "
                          "&amp; Co"_s});
}

// Reopening over text the task form or the Edits builder has not written asks first; No
// keeps the text, and a reopened task is no unwritten text.
TEST_F(Reopen, UnwrittenTextIsAskedAbout) {
    startWithSizes();
    const fs::path folder = write(choiceTask(TaskKind::SingleChoice, 1, 0));
    const fs::path editsFolder = write(edits("Extra", 2));
    TForm3* f3 = form3();
    struct Case {
        QPlainTextEdit* memo;
        fs::path folder;
        QString question, reopened;
    };
    const Case cases[] = {
        {find<QPlainTextEdit>("Memo1"), folder,
         u"The task form holds text that is not written. Replace it with the task in PartA/1?"_s,
         u"Which is <b>right</b>?\n  <i>pick</i> one"_s},
        {f3->findChild<QPlainTextEdit*>(u"Memo1"_s), editsFolder,
         u"The Edits builder holds text that is not written. Replace it with the task in Extra?"_s,
         u"Решите систему"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.question.toStdString());
        c.memo->setPlainText(u"my unfinished task"_s);
        platform.clear();
        form1()->reopenTask(c.folder);
        ASSERT_EQ(platform.questions(), QStringList{c.question});
        EXPECT_FALSE(platform.boxes[0].defaultYes);
        EXPECT_EQ(c.memo->toPlainText(), u"my unfinished task"_s);
        platform.questionAnswers = {true};
        form1()->reopenTask(c.folder);
        EXPECT_EQ(c.memo->toPlainText(), c.reopened);
        platform.clear();
        form1()->reopenTask(c.folder);
        EXPECT_TRUE(platform.boxes.empty()) << "a reopened task is written already";
        f3->findChild<QAction*>(u"N1"_s)->trigger();
    }
}
