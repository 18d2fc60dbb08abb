// SPDX-License-Identifier: MIT
// Start-up: the language file, the start state of the main window, start-up failures.
#include "core/common/error.hpp"
#include "ui/auth/tform2.hpp"
#include "ui/common/text_bridge.hpp"
#include "ui/edits/tform3.hpp"
#include "ui/support/ui_fixture.hpp"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cctype>
#include <cerrno>

using namespace kavo::test;
using namespace Qt::Literals::StringLiterals;
using kavo::app::fromPath;
using kavo::app::fromText;

namespace {

struct LanguageCase {
    const char* file;
    bool english;
};

class LanguageFile : public UiFixture, public ::testing::WithParamInterface<LanguageCase> {};

// Captions whose exact text (leading spaces included) shows which language was applied.
struct CaptionCase {
    const char* name;
    const char* russian;
    const char* english;
};
const CaptionCase Captions[] = {
    {"Label1", "Введите условие задачи", "Enter the task"},
    {"Label5", "Есть ли в условии картинка?", "  Is there a picture in the task?"},
    {"Label2", "Выберете № задачи которую хотите добавить(изменить)",
     "              Select the task number you want to add"},
    {"Label3", "Варианты ответов", "           Answers"},
    {"Label10", "Сворачивать ответы?", "         Fold answers?"},
    {"Label9", "Памятка тегов", "The list of  tags"},
    {"Label11", "Файл с условием задачи", "          Task file"},
    {"Label14", "Перейти на сайт Kavo", "Go to kavo.example.org"},
    {"Label6", "Part A", "Part A"},
    {"Label13", "Xml файл", "XML file"},
    {"Label18", "русское имя задачи", "russian task name"},
};

} // namespace

TEST_P(LanguageFile, DecidesTheInterfaceLanguage) {
    const LanguageCase& c = GetParam();
    TForm1* form = started(c.file);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->lang(), c.english ? kavo::Lang::English : kavo::Lang::Russian);

    for (const CaptionCase& caption : Captions)
        EXPECT_EQ(shown(find<QLabel>(caption.name)->text()),
                  u(c.english ? caption.english : caption.russian))
            << caption.name;
    EXPECT_EQ(shown(find<QPushButton>("Button1")->text()),
              c.english ? u("Save task") : u("Добавить задачу"));
    EXPECT_EQ(shown(find<QPushButton>("Button7")->text()), c.english ? u("Back") : u("Назад"));
    EXPECT_EQ(shown(find<QPushButton>("Button2")->text()), u"Ok"_s);
    EXPECT_EQ(shown(find<QCheckBox>("CheckBox3")->text()),
              c.english ? u("remove answer") : u("Удалить вариант ответа"));
    EXPECT_EQ(shown(find<QCheckBox>("CheckBox4")->text()),
              c.english ? u("Default") : u("по умолчанию"));
    EXPECT_EQ(shown(find<QGroupBox>("GroupBox1")->title()),
              c.english ? u("Task name") : u("Название задачи"));
    EXPECT_EQ(shown(find<QRadioButton>("RadioButton1")->text()),
              c.english ? u("Russian") : u("Русский"));
    EXPECT_EQ(shown(find<QMenu>("Menu1")->title()), c.english ? u("Menu") : u("Меню"));
    EXPECT_EQ(shown(find<QMenu>("Language1")->title()), u("Язык/Language"));
    EXPECT_EQ(shown(find<QAction>("N4")->text()),
              c.english ? u("Template 'Edits'") : u("Макет \"Edits\""));
    EXPECT_EQ(shown(find<QAction>("k1")->text()), c.english ? u("About") : u("О_программе"));
    EXPECT_EQ(shown(find<QAction>("English1")->text()), u"English"_s);
    // The Language menu shows the current language.
    EXPECT_EQ(find<QAction>("English1")->isChecked(), c.english);
    EXPECT_EQ(find<QAction>("Russian1")->isChecked(), !c.english);

    // The tag reminder of the language, shown exactly as the file holds it.
    EXPECT_EQ(find<QPlainTextEdit>("Toolkit")->toPlainText(),
              fromText(c.english ? EnglishToolkit : RussianToolkit));
}

// A readable test name from any text: letters and digits kept, a line break as "CRLF".
static std::string nameOf(std::string_view text) {
    std::string name;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.substr(i, 2) == "\r\n") {
            name += "CRLF";
            ++i;
        } else if (std::isalnum(static_cast<unsigned char>(text[i]))) {
            name += text[i];
        } else {
            name += '_';
        }
    }
    return name.empty() ? "Empty" : name;
}

// The language file's rule is the logic's (LanguageFile.EnglishExactlyWhenTheTextHoldsEn);
// here each language once, as the program writes the file.
INSTANTIATE_TEST_SUITE_P(Texts, LanguageFile,
                         ::testing::Values(LanguageCase{"En\r\n", true},
                                           LanguageCase{"Rus\r\n", false}),
                         [](const ::testing::TestParamInfo<LanguageCase>& info) {
                             return nameOf(info.param.file);
                         });

using StartState = UiFixture;

TEST_F(StartState, FollowsTheWorkingDirectoryAndShowsOnlyTheMainWindow) {
    TForm1* form = started();
    // The working folder is a temporary one, not the folder of the test executable.
    EXPECT_EQ(form->ProgramDir(), dir.path());
    EXPECT_EQ(form->OutputDir(), dir.path() / "Year");
    EXPECT_EQ(find<QLabel>("Label19")->text(), fromPath(dir.path() / "Year"));

    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->windowTitle(), u"Kavo Program"_s);
    // The dialog and the Edits builder are built on first use.
    EXPECT_EQ(program->form2(), nullptr);
    EXPECT_EQ(program->form3(), nullptr);

    EXPECT_EQ(find<QLineEdit>("Edit2")->text(), u""_s);
    EXPECT_EQ(find<QLineEdit>("Edit3")->text(), u"0"_s);
    EXPECT_EQ(find<QLineEdit>("Edit4")->text(), u"0"_s);
    EXPECT_EQ(find<QPlainTextEdit>("Memo1")->toPlainText(), u""_s);
    EXPECT_EQ(find<QListWidget>("ListBox1")->count(), 0);
    for (const char* name : {"ListBox2", "ListBox3"}) {
        auto* list = find<QListWidget>(name);
        ASSERT_EQ(list->count(), 2);
        EXPECT_EQ(list->item(0)->text(), u"Yes"_s);
        EXPECT_EQ(list->item(1)->text(), u"No"_s);
        EXPECT_FALSE(kavo::app::selectedRow(list)) << name;
    }
    EXPECT_TRUE(find<QRadioButton>("RadioButton2")->isChecked());
    EXPECT_FALSE(find<QRadioButton>("RadioButton1")->isChecked());
    EXPECT_FALSE(find<QGroupBox>("RadioGroup1")->isVisible());
    EXPECT_TRUE(find<QCheckBox>("CheckBox4")->isChecked());
}

struct MissingCase {
    const char* language;
    const char* missing; // under System_folder
};

class MissingFile : public UiFixture, public ::testing::WithParamInterface<MissingCase> {};

TEST_P(MissingFile, EndsTheStartWithItsReportAndNoWindow) {
    prepare(GetParam().language);
    const auto missing = systemFolder() / GetParam().missing;
    std::filesystem::remove(missing);

    EXPECT_FALSE(start());
    // Before the language is known, the report stands in both languages.
    const kavo::Error report = kavo::Error::cannotOpen(missing, ENOENT);
    EXPECT_EQ(platform.errors(),
              QStringList{QString::fromStdString(report.report(kavo::Lang::English) + "\n\n" +
                                                 report.report(kavo::Lang::Russian))});
    EXPECT_TRUE(platform.informations().isEmpty());
    EXPECT_EQ(program->form1(), nullptr);
    EXPECT_TRUE(noWindowShown());
}

// The language file and the tag reminder of each language, then the Edits templates (the
// first and the last read, and the description header), read at start for Form3.
INSTANTIATE_TEST_SUITE_P(Files, MissingFile,
                         ::testing::Values(MissingCase{"Rus\r\n", "Language/Language.txt"},
                                           MissingCase{"Rus\r\n", "file/Toolkit.txt"},
                                           MissingCase{"En\r\n", "Language/Toolkit.txt"},
                                           MissingCase{"Rus\r\n", "file_for_edits/zamena.txt"},
                                           MissingCase{"Rus\r\n", "file/task_xml.txt"},
                                           MissingCase{"Rus\r\n", "file_for_edits/task3.out"}),
                         [](const ::testing::TestParamInfo<MissingCase>& info) {
                             return nameOf(info.param.missing) + "In" + nameOf(info.param.language);
                         });

TEST_F(StartState, WithoutSystemFolderItSaysHowToStartTheProgram) {
    EXPECT_FALSE(start());
    ASSERT_EQ(platform.errors().size(), 1);
    const QString report = platform.errors()[0];
    EXPECT_TRUE(report.startsWith(u"Cannot open file "_s +
                                  fromPath(systemFolder() / "Language" / "Language.txt")))
        << report.toStdString();
    for (const QString& hint :
         {u"Start the program with kavo-program or ./scripts/run.sh."_s,
          u"Запускайте программу командой kavo-program или ./scripts/run.sh."_s})
        EXPECT_TRUE(report.contains(hint)) << report.toStdString();
    EXPECT_EQ(program->form1(), nullptr);
    EXPECT_TRUE(noWindowShown());
}

TEST_F(StartState, AWorkingFolderWithACyrillicNameShowsAsTyped) {
    const auto folder = dir.path() / std::filesystem::path(u8"Учитель");
    std::filesystem::create_directories(folder);
    copySystemFolder(folder);
    {
        WorkingDirectory inside(folder);
        program = std::make_unique<kavo::app::Program>(platform);
        ASSERT_TRUE(program->start());
    }
    EXPECT_EQ(find<QLabel>("Label19")->text(),
              fromPath(dir.path()) + QString::fromUtf8("/Учитель/Year"));

    program.reset();
    std::filesystem::remove(folder / "System_folder" / "file" / "Toolkit.txt");
    WorkingDirectory inside(folder);
    program = std::make_unique<kavo::app::Program>(platform);
    EXPECT_FALSE(program->start());
    EXPECT_TRUE(
        platform.errors().value(0).startsWith(u"Cannot open file "_s + fromPath(dir.path()) +
                                              u"/Учитель/System_folder/file/Toolkit.txt"_s));
}

// A start puts right what an interrupted write left in the task tree and System_folder; the
// teacher's own files stay.
TEST_F(StartState, LeftoversOfAnInterruptedWriteAreGoneAfterTheStart) {
    const auto leftovers = {dir.path() / "Year/1/task.asp.kavo-tmp123-4",
                            dir.path() / "System_folder/Authorisation/save.txt.kavo-tmp9-1"};
    prepare("Rus\r\n");
    for (const auto& path : leftovers)
        kavo::test::writeBytes(path, "partial");
    kavo::test::writeBytes(dir.path() / "Year/1/webfiles/picture.jpg", "jpeg");
    ASSERT_TRUE(start());
    for (const auto& path : leftovers)
        EXPECT_FALSE(std::filesystem::exists(path)) << path;
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "Year/1/webfiles/picture.jpg"));
}
