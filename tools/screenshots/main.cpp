// SPDX-License-Identifier: MIT
// Takes the README's screenshots from the real windows: starts the program in a fresh
// temporary working folder under the offscreen platform, fills a sample olympiad, and
// saves QWidget::grab() images of the main window (Russian and English), the task code
// review, the author dialog, the Edits builder, the olympiad overview and the report of an
// olympiad file.
//
// Usage: kavo_screenshots [--screen WxH] [--scale F] OUTPUT_FOLDER [SHIPPED_SYSTEM_FOLDER]
// The screen is 1920x1080 unless given; --scale sets QT_SCALE_FACTOR.
#include "app/program.hpp"
#include "ui/auth/tform2.hpp"
#include "ui/common/platform.hpp"
#include "ui/common/text_bridge.hpp"
#include "ui/edits/tform3.hpp"
#include "ui/main/olympiad_report.hpp"
#include "ui/main/tform1.hpp"
#include "ui/support/offscreen_screen.hpp"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextStream>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Answers every box at once so that nothing blocks; prints what was shown.
class SilentPlatform : public kavo::app::Platform {
  public:
    void information(QWidget*, const QString& text) override { report("information", text); }
    void error(QWidget*, const QString& text) override {
        report("error", text);
        failed = true;
    }
    bool question(QWidget*, const QString& text) override {
        report("question", text);
        return false;
    }
    bool ask(QWidget* owner, const QString& text, bool) override { return question(owner, text); }
    std::optional<QString> chooseFolder(QWidget*, const QString&, const QString&) override {
        return {};
    }
    // The file chooser answers the file set here, once.
    std::optional<QString> chooseFile(QWidget*, FileMode, const QString&, const QString&,
                                      const QString&) override {
        return std::exchange(nextFile, std::nullopt);
    }
    bool openUrl(const QString&) override { return true; }
    bool restart(const QString&, const QString&) override { return true; }

    bool failed = false;
    std::optional<QString> nextFile; // the next file chooser's answer

  private:
    static void report(const char* kind, const QString& text) {
        QTextStream(stderr) << kind << ": " << text.trimmed() << "\n";
    }
};

template <typename W> W* child(QWidget* window, const char* name) {
    W* widget = window->findChild<W*>(QString::fromLatin1(name));
    if (!widget)
        throw std::runtime_error(std::string("no widget ") + name);
    return widget;
}

void setText(QWidget* window, const char* name, const char* utf8) {
    if (auto* line = window->findChild<QLineEdit*>(QString::fromLatin1(name)))
        line->setText(QString::fromUtf8(utf8));
    else
        child<QPlainTextEdit>(window, name)->setPlainText(QString::fromUtf8(utf8));
}

void click(QWidget* window, const char* name) {
    child<QAbstractButton>(window, name)->click();
}

void trigger(QWidget* window, const char* name) {
    child<QAction>(window, name)->trigger();
}

void pick(QWidget* window, const char* list, int row) {
    kavo::app::selectRow(child<QListWidget>(window, list), row);
}

void save(QWidget* window, const fs::path& file) {
    // No text cursor in the pictures: the focus goes to a push button.
    window->activateWindow();
    for (auto* button : window->findChildren<QPushButton*>())
        if (button->focusPolicy() != Qt::NoFocus && button->isVisible()) {
            button->setFocus(Qt::OtherFocusReason);
            break;
        }
    QApplication::processEvents();
    if (!window->grab().save(kavo::app::fromPath(file)))
        throw std::runtime_error("cannot write " + file.string());
    QTextStream(stdout) << kavo::app::fromPath(file) << "\n";
}

// A started program in a fresh working folder; the working directory is the folder
// while the program is built, as when the launcher starts it. The folder has a fixed
// name, so the path shown in the main window is the same in every run of the tool.
struct Session {
    fs::path work = fs::temp_directory_path() / "kavo-screenshots" / "Kavo_Program";
    SilentPlatform platform;
    std::unique_ptr<kavo::app::Program> program;

    Session(const fs::path& shipped, bool english) {
        fs::remove_all(work);
        fs::create_directories(work);
        fs::copy(shipped, work / "System_folder", fs::copy_options::recursive);
        std::ofstream(work / "System_folder/Language/Language.txt", std::ios::binary)
            << (english ? "En\r\n" : "Rus\r\n");
        const fs::path saved = fs::current_path();
        fs::current_path(work);
        program = std::make_unique<kavo::app::Program>(platform);
        const bool started = program->start();
        fs::current_path(saved);
        if (!started)
            throw std::runtime_error("the program did not start");
    }
    ~Session() {
        program.reset();
        std::error_code ignored;
        fs::remove_all(work.parent_path(), ignored);
    }
};

// The part sizes 2, 2, 1 and a single-choice task for number 1 with a picture.
void fillMainWindow(Session& session, bool english) {
    TForm1* form = session.program->form1();
    setText(form, "Edit2", "2");
    setText(form, "Edit3", "2");
    setText(form, "Edit4", "1");
    click(form, "Button2");
    pick(form, "ListBox1", 0);
    setText(form, "Memo1",
            english ? "How many degrees are in the sum of the angles of a triangle?"
                    : "Чему равна сумма углов треугольника?");
    pick(form, "ListBox2", 0);
    QImage triangle(120, 90, QImage::Format_RGB32);
    triangle.fill(Qt::white);
    const QString picture = kavo::app::fromPath(session.work / "triangle.png");
    if (!triangle.save(picture, "PNG"))
        throw std::runtime_error("cannot write the sample picture");
    session.platform.nextFile = picture;
    click(form, "Button9");
    pick(form, "ListBox3", 1);
    const char* variants[] = {"90&deg;", "180&deg;", "270&deg;", "360&deg;", ""};
    for (int i = 0; i < 5; ++i)
        setText(form, ("VariantOtveta_" + std::to_string(i + 1)).c_str(), variants[i]);
    click(form, "CheckBox3");
    setText(form, "Edit1", "b");
}

// Olympiad files: one with the usual slips, one that can be written (with a warning and a
// question left out).
const char* const FaultyOlympiad =
    "$CATEGORY: kavo/parts/4,0,0\n\n"
    "::Sum::What is 2 + 2? {=4 ~3 ~5 ~22 ~1 ~0}\n\n"
    "::Capital::Столица России? {~Kazan =Moscow#Right! ~Omsk}\n\n"
    "::Primes::Which numbers are prime? {~%50%2 ~%50%3 ~%-100%4\n\n"
    "::Speed::A car covers 120 km in 2 hours. Its speed in km/h? {=60 =sixty}\n";
const char* const SoundOlympiad = "$CATEGORY: kavo/parts/3,0,0\n\n"
                                  "::Сумма::Сколько будет 2 + 2? {=4 ~3 ~5}\n\n"
                                  "::Эссе::Почему небо голубое? {}\n\n"
                                  "::Столица::Столица России? {~Казань =Москва#Верно! ~Омск}\n\n"
                                  "::Простые::Какие числа простые? {~%50%2 ~%50%3 ~%-100%4}\n";

// Imports the file through the menu and saves the report, its first line selected.
void saveReport(TForm1* form, SilentPlatform& platform, const fs::path& file, const char* text,
                const fs::path& png) {
    std::ofstream(file, std::ios::binary) << text;
    platform.nextFile = kavo::app::fromPath(file);
    trigger(form, "ImportOlympiad1");
    TOlympiadReport* report = form->olympiadReport();
    pick(report, report->Errors->count() ? "Errors" : "Warnings", 0);
    save(report, png);
    report->close();
}

// Check olympiad over the tree the session wrote, its first row selected (which selects the
// task in the overview).
void saveCheck(TForm1* form, const fs::path& png) {
    trigger(form, "CheckOlympiad1");
    TOlympiadReport* report = form->olympiadReport();
    pick(report, report->Errors->count() ? "Errors" : "Warnings", 0);
    save(report, png);
    report->close();
}

void run(const fs::path& shipped, const fs::path& out) {
    fs::create_directories(out);
    {
        Session russian(shipped, false);
        TForm1* form = russian.program->form1();
        fillMainWindow(russian, false);
        save(form, out / "main-ru.png");
        saveReport(form, russian.platform, russian.work / "olympiad.gift", SoundOlympiad,
                   out / "olympiad-report-ru.png");
        saveCheck(form, out / "check-ru.png");
        if (russian.platform.failed)
            throw std::runtime_error("the program reported an error");
    }

    Session english(shipped, true);
    TForm1* form = english.program->form1();
    fillMainWindow(english, true);
    save(form, out / "main-en.png");

    // The author line first: Add task asks for it.
    trigger(form, "Authorisation1");
    TForm2* author = english.program->form2();
    setText(author, "Edit1", "Petrova Anna,  School 21, October  2026");
    save(author, out / "author-en.png");
    click(author, "Button1");

    click(form, "Button1");
    trigger(form, "N1");
    pick(form, "ListBox4", 0);
    click(form, "Button8");
    save(form, out / "review-en.png");
    click(form, "Button7");

    trigger(form, "N4");
    TForm3* edits = english.program->form3();
    setText(edits, "Memo1", "A train leaves at 9:00 and travels at 60 km/h.");
    setText(edits, "Memo2", "How far has it gone at 11:00 (km)?");
    setText(edits, "Memo3", "When does it pass the 150 km mark (hh:mm)?");
    setText(edits, "Memo4", "How many minutes does it need for 25 km?");
    setText(edits, "Edit1", "120");
    setText(edits, "Edit2", "11:30");
    setText(edits, "Edit3", "25");
    click(edits, "CheckBox2");
    setText(edits, "Edit5", "PartC/5");
    setText(edits, "Edit6", "Train");
    save(edits, out / "edits-en.png");

    // The Edits task written, then the olympiad overview over the main window.
    click(edits, "Button1");
    trigger(form, "Overview1");
    save(child<QWidget>(form, "Overview"), out / "overview-en.png");
    saveCheck(form, out / "check-en.png");

    // An olympiad file with the usual slips, its first error selected.
    trigger(edits, "N1");
    saveReport(form, english.platform, english.work / "olympiad.gift", FaultyOlympiad,
               out / "olympiad-report-en.png");

    if (english.platform.failed)
        throw std::runtime_error("the program reported an error");
}

} // namespace

int main(int argc, char** argv) {
    QSize screen(1920, 1080);
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--screen" && i + 1 < argc)
            screen = kavo::test::parseSize(argv[++i], screen);
        else if (arg == "--scale" && i + 1 < argc)
            qputenv("QT_SCALE_FACTOR", argv[++i]);
        else
            rest.push_back(argv[i]);
    }
    kavo::test::useOffscreenScreen(screen);
    int restCount = static_cast<int>(rest.size());
    QApplication application(restCount, rest.data());
    if (restCount < 2 || restCount > 3) {
        std::fprintf(stderr,
                     "usage: %s [--screen WxH] [--scale F] OUTPUT_FOLDER [SHIPPED_SYSTEM_FOLDER]\n",
                     argv[0]);
        return 2;
    }
    const fs::path shipped =
        restCount == 3 ? fs::path(rest[2]) : fs::path(KAVO_SHIPPED_SYSTEM_FOLDER);
    try {
        run(shipped, fs::absolute(rest[1]));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kavo_screenshots: %s\n", error.what());
        return 1;
    }
    return 0;
}
