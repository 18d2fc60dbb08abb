// SPDX-License-Identifier: MIT
// One whole olympiad through the real windows, as a teacher builds it: a fresh working
// folder, the part sizes, Reset settings, the author dialog, one task of every template and
// an Edits task, a preview of each, a review that edits a task, and the restart in English.
#include "core/common/codepage.hpp"
#include "core/common/messages.hpp"
#include "ui/auth/tform2.hpp"
#include "ui/common/text_bridge.hpp"
#include "ui/edits/tform3.hpp"
#include "ui/support/ui_fixture.hpp"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <QXmlStreamReader>

#include <map>
#include <set>
#include <sstream>

namespace fs = std::filesystem;
using namespace kavo::test;
using Kind = RecordingPlatform::Kind;
using namespace Qt::Literals::StringLiterals;

namespace {

const std::string CRLF = "\r\n";

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

bool wellFormed(const std::string& cp1251) {
    QXmlStreamReader reader(QByteArray::fromStdString(kavo::cp1251ToUtf8(cp1251)));
    while (!reader.atEnd())
        reader.readNext();
    return !reader.hasError();
}

std::set<std::string> lines(const std::string& listing) {
    std::set<std::string> out;
    std::istringstream in(listing);
    for (std::string line; std::getline(in, line);)
        out.insert(line);
    return out;
}

// What one Add task is given in the task form.
struct TaskInput {
    const char* condition;
    bool picture;
    bool fold;
    std::vector<const char*> variants; // A to E; empty for a typed answer
    const char* answer;
    bool removeE = false;
};

struct Olympiad : UiFixture {
    fs::path work() const { return dir.path(); }
    fs::path year() const { return dir.path() / "Year"; }
    std::string shipped(const std::string& name) const {
        return readBytes(shippedSystemFolder() / name);
    }
    std::string file(const fs::path& path) const { return readBytes(path); }

    template <typename W> W* in(QWidget* window, const char* name) const {
        W* widget = window->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void click(QAbstractButton* button) const { QTest::mouseClick(button, Qt::LeftButton); }
    void click(const char* button) const { click(find<QAbstractButton>(button)); }
    void trigger(const char* action) const { find<QAction>(action)->trigger(); }
    // Typed key by key where the keyboard of the test can send it, set otherwise.
    static void type(QLineEdit* edit, const QString& text) {
        edit->clear();
        bool latin = true;
        for (QChar c : text)
            latin = latin && c.unicode() < 0x80;
        if (latin)
            QTest::keyClicks(edit, text);
        else
            edit->setText(text);
    }
    void type(const char* edit, const char* text) const {
        type(find<QLineEdit>(edit), QString::fromUtf8(text));
    }
    // A click on a list item selects it through the selection model.
    static void pick(QListWidget* list, int row) {
        list->selectionModel()->setCurrentIndex(list->model()->index(row, 0),
                                                QItemSelectionModel::ClearAndSelect);
    }
    void pick(const char* list, int row) const { pick(find<QListWidget>(list), row); }

    void fillTaskForm(const TaskInput& task) const {
        find<QPlainTextEdit>("Memo1")->setPlainText(QString::fromUtf8(task.condition));
        pick("ListBox2", task.picture ? 0 : 1);
        pick("ListBox3", task.fold ? 0 : 1);
        for (int i = 0; i < 5; ++i) {
            const std::string name = "VariantOtveta_" + std::to_string(i + 1);
            type(name.c_str(), i < int(task.variants.size()) ? task.variants[i] : "");
        }
        if (task.removeE)
            click("CheckBox3");
        type("Edit1", task.answer);
    }

    static QString fromPath(const fs::path& path) { return kavo::app::fromPath(path); }
    static std::string fileUrl(const fs::path& path) {
        return QUrl::fromLocalFile(kavo::app::fromPath(path)).toEncoded().toStdString();
    }
};

} // namespace

TEST_F(Olympiad, TeacherBuildsAWholeOlympiadAndRestartsInEnglish) {
    // A fresh working folder holds only the shipped System_folder.
    copySystemFolder(work());
    const std::string shippedTree = listTree(shippedSystemFolder());
    ASSERT_TRUE(start());
    TForm1* form = form1();
    ASSERT_TRUE(form->isVisible());
    // The dialog and the Edits builder are built when first asked for.
    EXPECT_EQ(program->form2(), nullptr);
    EXPECT_EQ(program->form3(), nullptr);
    EXPECT_EQ(form->lang(), kavo::Lang::Russian);

    // Sizes 2, 2, 1 and Ok: the numbers 1 to 5.
    type("Edit2", "2");
    type("Edit3", "2");
    type("Edit4", "1");
    click("Button2");
    auto* numbers = find<QListWidget>("ListBox1");
    ASSERT_EQ(numbers->count(), 5);
    ASSERT_EQ(find<QListWidget>("ListBox4")->count(), 5);

    // Reset settings, once confirmed: no author, no tasks counted.
    platform.questionAnswers = {true};
    trigger("N3");
    const fs::path authorisation = systemFolder() / "Authorisation";
    EXPECT_EQ(file(authorisation / "save.txt"), "1\r\n");
    EXPECT_EQ(file(authorisation / "Tasks_in_view.txt"), "0\r\n");

    // Task 1, single choice. Without author details Add task writes nothing and opens the
    // author dialog; the form keeps what was typed.
    const TaskInput radio{"Сколько будет 2 + 2?", true, false, {"3", "4", "5", "6", "22"}, "b"};
    pick(numbers, 0);
    fillTaskForm(radio);
    const std::string before = listTree(work());
    click("Button1");
    TForm2* author = program->form2();
    ASSERT_NE(author, nullptr);
    EXPECT_TRUE(author->isVisible());
    EXPECT_EQ(listTree(work()), before);
    EXPECT_EQ(file(authorisation / "save.txt"), "1\r\n");
    EXPECT_EQ(file(authorisation / "Tasks_in_view.txt"), "0\r\n");
    EXPECT_EQ(find<QPlainTextEdit>("Memo1")->toPlainText(), QString::fromUtf8(radio.condition));

    // The author saves a line with Cyrillic letters and an "&": both headers are rebuilt
    // from the shipped pieces, escaped for the description, and the flag is cleared.
    const char* authorLine = "Соколова Мария,  МФ-12, October  2025 & Co";
    const std::string escapedAuthor = cp1251("Соколова Мария,  МФ-12, October  2025 &amp; Co");
    type(in<QLineEdit>(author, "Edit1"), QString::fromUtf8(authorLine));
    click(in<QPushButton>(author, "Button1"));
    EXPECT_FALSE(author->isVisible());
    const std::string header = shipped("Authorisation/Author_1.txt") + escapedAuthor +
                               shipped("Authorisation/Author_end.txt") + CRLF;
    const std::string header2 = shipped("Authorisation/Author_2.txt") + escapedAuthor +
                                shipped("Authorisation/Author_end.txt") + CRLF;
    EXPECT_EQ(file(systemFolder() / "file" / "task_xml.txt"), header);
    EXPECT_EQ(file(systemFolder() / "file" / "task_xml_2.txt"), header2);
    EXPECT_EQ(file(authorisation / "save.txt"), "0\r\n");

    // The same form, Add task again: written, and the form is reset for task 2.
    click("Button1");
    EXPECT_EQ(kavo::app::selectedRow(numbers), 1);
    EXPECT_EQ(find<QPlainTextEdit>("Memo1")->toPlainText(), u""_s);

    // Task 2, typed answer, Russian condition.
    const TaskInput typed{"Вычислите шесть умножить на семь", true, false, {}, "42"};
    fillTaskForm(typed);
    click("Button1");
    // Task 3, folded answers, variant E removed.
    const TaskInput folded{"Какая планета ближе всех к Солнцу?",
                           true,
                           true,
                           {"Меркурий", "Венера", "Марс", "Юпитер", "Сатурн"},
                           "A",
                           true};
    fillTaskForm(folded);
    click("Button1");
    // Task 4, multiple choice.
    const TaskInput multiple{
        "Выберите простые числа", true, false, {"2", "3", "4", "5", "9"}, "a,b,d"};
    fillTaskForm(multiple);
    click("Button1");
    EXPECT_EQ(kavo::app::selectedRow(numbers), 4);
    EXPECT_EQ(file(authorisation / "Tasks_in_view.txt"), "4\r\n");

    // The Edits task "PartC/5", three sub-questions, in the second window.
    trigger("N4");
    TForm3* edits = program->form3();
    ASSERT_NE(edits, nullptr);
    EXPECT_FALSE(form->isVisible());
    ASSERT_TRUE(edits->isVisible());
    // Its Authorisation1 shows the dialog with the saved line; Cancel writes nothing.
    in<QAction>(edits, "Authorisation1")->trigger();
    EXPECT_TRUE(author->isVisible());
    EXPECT_EQ(in<QLineEdit>(author, "Edit1")->text(), QString::fromUtf8(authorLine));
    click(in<QPushButton>(author, "Button2"));
    EXPECT_FALSE(author->isVisible());
    in<QPlainTextEdit>(edits, "Memo1")
        ->setPlainText(QString::fromUtf8("Решите систему <img src=\"webfiles/fig.png\">"));
    in<QPlainTextEdit>(edits, "Memo2")->setPlainText(QString::fromUtf8("Найдите x"));
    in<QPlainTextEdit>(edits, "Memo3")->setPlainText(QString::fromUtf8("Найдите y"));
    in<QPlainTextEdit>(edits, "Memo4")->setPlainText(QString::fromUtf8("Найдите x + y"));
    type(in<QLineEdit>(edits, "Edit1"), u"1"_s);
    type(in<QLineEdit>(edits, "Edit2"), u"2"_s);
    type(in<QLineEdit>(edits, "Edit3"), u"3"_s);
    click(in<QCheckBox>(edits, "CheckBox2")); // remove D
    type(in<QLineEdit>(edits, "Edit5"), u"PartC/5"_s);
    type(in<QLineEdit>(edits, "Edit6"), QString::fromUtf8("Системы & уравнения"));
    click(in<QPushButton>(edits, "Button1"));
    EXPECT_TRUE(in<QLineEdit>(edits, "Edit5")->text().isEmpty());
    EXPECT_FALSE(in<QCheckBox>(edits, "CheckBox2")->isChecked());
    in<QAction>(edits, "N1")->trigger();
    EXPECT_FALSE(edits->isVisible());
    EXPECT_TRUE(form->isVisible());

    // The packages. Each task folder holds the four files and an empty webfiles folder.
    struct Package {
        const char* folder;
        const char* id;
        std::string family; // where TASK.CFG comes from
        std::vector<std::string> scoring;
        const char* cost;
        const TaskInput* input;
    };
    const std::vector<Package> packages = {
        {"PartA/1",
         "TaskA1",
         "file/TASK.txt",
         {"countby=test", "[1]", "ans1=1", "score[1]=1"},
         "1",
         &radio},
        {"PartA/2",
         "TaskA2",
         "file_for_edit/TASK.txt",
         {"countby=test", "[1]", "ans1=42", "score[1]=1", "total=score[1]"},
         "1",
         &typed},
        {"PartB/3",
         "TaskB3",
         "file_for_spoiler/TASK.txt",
         {"countby=test", "[1]", "ans1=0", "score[1]=1"},
         "1",
         &folded},
        {"PartB/4",
         "TaskB4",
         "file_for_MultipleChoice/TASK.txt",
         {"countby=test", "[1]", "ans1=1", "score[1]=1", "[2]", "ans2=1", "score[2]=1", "[3]",
          "ans3=", "score[3]=1", "[4]", "ans4=1", "score[4]=1", "[5]", "ans5=", "score[5]=1",
          "total=score[1]+score[2]+score[3]+score[4]+score[5]"},
         "5",
         &multiple},
    };
    std::string expectedYear = "PartA/\nPartB/\nPartC/\n";
    for (const char* folder : {"PartA/1", "PartA/2", "PartB/3", "PartB/4", "PartC/5"})
        for (const char* entry :
             {"/", "/TASK.CFG", "/task.asp", "/task.out", "/task.xml", "/webfiles/"})
            expectedYear += std::string(folder) + entry + "\n";
    // listTree sorts byte-wise: "PartA/1/" before "PartA/1/TASK.CFG" before "PartA/2/".
    {
        auto sorted = lines(expectedYear);
        expectedYear.clear();
        for (const auto& line : sorted)
            expectedYear += line + "\n";
    }
    EXPECT_EQ(listTree(year()), expectedYear);

    for (const Package& p : packages) {
        SCOPED_TRACE(p.id);
        const fs::path folder = year() / p.folder;
        EXPECT_TRUE(fs::is_empty(folder / "webfiles"));
        EXPECT_EQ(file(folder / "TASK.CFG"), shipped(p.family) + CRLF);
        std::string scoring;
        for (const auto& line : p.scoring)
            scoring += line + CRLF;
        EXPECT_EQ(file(folder / "task.out"), scoring);
        const std::string xml = file(folder / "task.xml");
        EXPECT_EQ(xml, replaced(replaced(header, "TaskA1", p.id), "cost=\"1\"",
                                std::string("cost=\"") + p.cost + "\"") +
                           CRLF);
        EXPECT_NE(xml.find("<author>" + escapedAuthor + "</author>"), std::string::npos);
        EXPECT_TRUE(wellFormed(xml));
        const std::string page = file(folder / "task.asp");
        const std::string opening =
            shipped(std::string(p.family).replace(p.family.find("TASK.txt"), 8, "task_part1.txt"));
        EXPECT_EQ(page.rfind(opening + CRLF + cp1251(p.input->condition) + CRLF, 0), 0u);
        for (std::size_t i = 0; i < p.input->variants.size(); ++i)
            EXPECT_EQ(page.find(cp1251(p.input->variants[i])) != std::string::npos,
                      !(p.input->removeE && i == 4))
                << i;
    }
    // The typed answer with a Russian condition asks in Russian.
    EXPECT_NE(file(year() / "PartA/2/task.asp").find(cp1251("Введите корректный ответ")),
              std::string::npos);
    EXPECT_EQ(file(year() / "PartA/2/task.asp").find("Enter the correct answer"),
              std::string::npos);

    // The Edits task: its own templates, the new author and its name in the description.
    const fs::path edited = year() / "PartC/5";
    std::string page = shipped("file_for_edits/task1.asp");
    for (const auto& [mark, text] : std::vector<std::pair<const char*, std::string>>{
             {"*vs1*", cp1251("Решите систему <img src=\"webfiles/fig.png\">")},
             {"*vs2*", cp1251("Найдите x")},
             {"*vs3*", cp1251("Найдите y")},
             {"*vs4*", cp1251("Найдите x + y")}})
        page = replaced(page, mark, text);
    EXPECT_EQ(file(edited / "task.asp"), page + CRLF);
    std::string answers = shipped("file_for_edits/task1.out");
    for (const auto& [mark, text] : std::vector<std::pair<const char*, const char*>>{
             {"*ans1*", "1"}, {"*ans2*", "2"}, {"*ans3*", "3"}})
        answers = replaced(answers, mark, text);
    EXPECT_EQ(file(edited / "task.out"), answers + CRLF);
    EXPECT_EQ(file(edited / "TASK.CFG"), shipped("file_for_edits/task.cfg") + CRLF);
    const std::string editsXml = file(edited / "task.xml");
    EXPECT_EQ(editsXml, replaced(replaced(header, "cost=\"1\"", "cost=\"3\""), "TaskA1",
                                 cp1251("Системы &amp; уравнения")) +
                            CRLF);
    EXPECT_NE(editsXml.find("<author>" + escapedAuthor + "</author>"), std::string::npos);
    EXPECT_TRUE(wellFormed(editsXml));
    EXPECT_TRUE(fs::is_empty(edited / "webfiles"));

    // A preview of each task, from number 1 on; each press moves to the next number.
    pick(numbers, 0);
    const char* folders[] = {"PartA/1", "PartA/2", "PartB/3", "PartB/4", "PartC/5"};
    const char* pictures[] = {"picture.jpg", "picture.jpg", "picture.jpg", "picture.jpg",
                              "fig.png"};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(folders[i]);
        click("Button5");
        const std::string html = file(work() / "buf.html");
        EXPECT_EQ(html.find("<%"), std::string::npos);
        EXPECT_EQ(html.find("\"webfiles/"), std::string::npos);
        EXPECT_NE(
            html.find("\"" + fileUrl(year() / folders[i] / "webfiles") + "/" + pictures[i] + "\""),
            std::string::npos);
        const std::string condition =
            i < 4 ? cp1251(packages[i].input->condition) : cp1251("Решите систему");
        EXPECT_NE(html.find(condition), std::string::npos);
        const std::string bottom = shipped("browser/buttom.txt") + CRLF;
        EXPECT_EQ(html.substr(html.size() - bottom.size()), bottom);
        ASSERT_EQ(platform.openedUrls.size(), std::size_t(i + 1));
        EXPECT_EQ(platform.openedUrls.back().toStdString(), fileUrl(work() / "buf.html"));
    }
    EXPECT_FALSE(kavo::app::selectedRow(numbers));

    // The review opens task 3, changes its answer and adds a hint, and saves.
    trigger("N1");
    pick("ListBox4", 2);
    click("Button8");
    const fs::path reviewed = year() / "PartB/3";
    const std::string oldPage = file(reviewed / "task.asp");
    const std::string oldXml = file(reviewed / "task.xml");
    EXPECT_EQ(find<QPlainTextEdit>("Memo2")->toPlainText(), kavo::app::fromText(oldPage));
    EXPECT_EQ(find<QPlainTextEdit>("Memo3")->toPlainText(),
              u"countby=test\n[1]\nans1=0\nscore[1]=1\n"_s);
    EXPECT_EQ(find<QPlainTextEdit>("Memo4")->toPlainText(), kavo::app::fromText(oldXml));
    find<QPlainTextEdit>("Memo2")->setPlainText(kavo::app::fromText(oldPage) +
                                                QString::fromUtf8("<p>Подсказка</p>"));
    find<QPlainTextEdit>("Memo3")->setPlainText(u"countby=test\n[1]\nans1=1\nscore[1]=1\n"_s);
    click("Button6");
    EXPECT_EQ(file(reviewed / "task.asp"), oldPage + cp1251("<p>Подсказка</p>") + CRLF);
    EXPECT_EQ(file(reviewed / "task.out"), "countby=test\r\n[1]\r\nans1=1\r\nscore[1]=1\r\n\r\n");
    EXPECT_EQ(file(reviewed / "task.xml"), oldXml + CRLF);
    EXPECT_TRUE(wellFormed(file(reviewed / "task.xml")));
    EXPECT_EQ(kavo::app::selectedRow(find<QListWidget>("ListBox4")), 3);
    click("Button7");
    EXPECT_TRUE(find<QPushButton>("Button1")->isVisible());
    EXPECT_FALSE(find<QPlainTextEdit>("Memo2")->isVisible());

    // Ok closes an open author dialog; a dialog left open does not keep the program alive.
    trigger("Authorisation1");
    EXPECT_TRUE(author->isVisible());
    click("Button2");
    EXPECT_FALSE(author->isVisible());
    EXPECT_EQ(numbers->count(), 5);
    trigger("Authorisation1");
    ASSERT_TRUE(author->isVisible());

    // English: the language file is rewritten and the same executable is started anew in
    // the working folder; this instance ends with no window left.
    trigger("English1");
    EXPECT_EQ(file(systemFolder() / "Language" / "Language.txt"), "En\r\n");
    ASSERT_EQ(platform.restarts.size(), 1u);
    const QString executable = platform.restarts[0].executable;
    EXPECT_TRUE(QFileInfo(executable).isAbsolute());
    EXPECT_TRUE(QFileInfo(executable).isExecutable());
    EXPECT_EQ(executable, QCoreApplication::applicationFilePath());
    EXPECT_EQ(platform.restarts[0].workingDirectory, fromPath(work()));
    EXPECT_TRUE(program->ended());
    EXPECT_TRUE(noWindowShown());

    // Every file of the working folder: the shipped System_folder, the tree, the preview.
    const std::string finalTree = listTree(work());
    {
        std::set<std::string> expected;
        expected.insert("System_folder/");
        for (const auto& line : lines(shippedTree))
            expected.insert("System_folder/" + line);
        expected.insert("Year/");
        for (const auto& line : lines(expectedYear))
            expected.insert("Year/" + line);
        expected.insert("buf.html");
        EXPECT_EQ(lines(finalTree), expected);
    }
    // Only the author files, the counters and the language changed in System_folder.
    const std::map<std::string, std::string> changed = {
        {"Authorisation/save.txt", "0\r\n"}, {"Authorisation/Tasks_in_view.txt", "4\r\n"},
        {"Language/Language.txt", "En\r\n"}, {"file/task_xml.txt", header},
        {"file/task_xml_2.txt", header2},
    };
    for (const auto& name : lines(shippedTree)) {
        if (name.back() == '/')
            continue;
        const auto it = changed.find(name);
        EXPECT_EQ(file(systemFolder() / name), it == changed.end() ? shipped(name) : it->second)
            << name;
    }

    // The new instance in the same working folder comes up in English with the same tree.
    program.reset();
    ASSERT_TRUE(start());
    form = form1();
    EXPECT_EQ(form->lang(), kavo::Lang::English);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->OutputDir(), year());
    EXPECT_EQ(shown(find<QPushButton>("Button1")->text()), u"Save task"_s);
    EXPECT_EQ(shown(find<QAction>("N1")->text()), u"Task code review"_s);
    EXPECT_EQ(listTree(work()), finalTree);
    trigger("information1");

    // The Edits window keeps its fields while hidden, and closing it ends the program.
    trigger("N4");
    edits = program->form3();
    EXPECT_EQ(shown(in<QPushButton>(edits, "Button1")->text()), u"Add the task"_s);
    type(in<QLineEdit>(edits, "Edit6"), u"Unsaved"_s);
    in<QAction>(edits, "N1")->trigger();
    trigger("N4");
    EXPECT_EQ(in<QLineEdit>(edits, "Edit6")->text(), u"Unsaved"_s);
    in<QAction>(edits, "Authorisation1")->trigger();
    ASSERT_TRUE(program->form2()->isVisible());
    EXPECT_EQ(program->form2()->windowTitle(), u"Authorization"_s);
    // The dialog of the new instance shows the line the tasks carry.
    EXPECT_EQ(in<QLineEdit>(program->form2(), "Edit1")->text(), QString::fromUtf8(authorLine));
    // The unsaved name is asked about before it is lost.
    platform.questionAnswers = {true};
    edits->close();
    EXPECT_TRUE(program->ended());
    EXPECT_TRUE(noWindowShown());
    EXPECT_EQ(listTree(work()), finalTree);

    // Every message of the path, in order.
    const QString noPicture =
        kavo::app::text(kavo::msg::review::pictureMissing, kavo::Lang::Russian);
    const std::vector<std::pair<Kind, QString>> messages = {
        {Kind::Question, u"Сбросить настройки? Счётчик задач станет равен 0, а при следующем "
                         u"добавлении задачи программа сначала спросит данные автора."_s},
        {Kind::Information, QString::fromUtf8("Настройки сброшены")},
        // The four tasks with a picture were written without one: each preview says so.
        {Kind::Information, noPicture},
        {Kind::Information, noPicture},
        {Kind::Information, noPicture},
        {Kind::Information, noPicture},
        // The hint typed into the page makes it a page the program does not write: the
        // box says so (the reason's wording is read-back's).
        {Kind::Information,
         QString::fromUtf8("\nСохранение было выполнено\nСохранённые файлы не читаются как "
                           "задача; её номер отмечен красным:\nЗадачу в папке PartB/3 нельзя "
                           "прочитать: task.asp")},
        {Kind::Information, u"Number of added tasks:   4\n"_s},
        {Kind::Question,
         u"The Edits builder holds text that is not written. Close the program and lose it?"_s},
    };
    ASSERT_EQ(platform.boxes.size(), messages.size());
    for (std::size_t i = 0; i < messages.size(); ++i) {
        EXPECT_EQ(platform.boxes[i].kind, messages[i].first) << i;
        if (messages[i].second.endsWith(u"task.asp"_s))
            EXPECT_TRUE(platform.boxes[i].text.startsWith(messages[i].second)) << i;
        else
            EXPECT_EQ(platform.boxes[i].text, messages[i].second) << i;
    }
}
