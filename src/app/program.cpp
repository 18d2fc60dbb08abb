// SPDX-License-Identifier: MIT
#include "app/program.hpp"

#include "core/common/files.hpp"
#include "core/common/messages.hpp"
#include "core/common/tree_lock.hpp"
#include "core/edits/edits_task.hpp"
#include "core/render/read_back.hpp"
#include "core/render/render.hpp"
#include "core/shell/language.hpp"
#include "ui/auth/tform2.hpp"
#include "ui/common/guard.hpp"
#include "ui/common/platform.hpp"
#include "ui/common/text_bridge.hpp"
#include "ui/edits/tform3.hpp"
#include "ui/main/tform1.hpp"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <exception>
#include <optional>
#include <string_view>

using namespace Qt::Literals::StringLiterals;
namespace fs = std::filesystem;

static void initResources() {
    Q_INIT_RESOURCE(kavo);
}

namespace kavo::app {

StartArguments startArguments(const std::vector<std::string>& arguments) {
    std::vector<std::string> files;
    bool options = true;
    for (const std::string& word : arguments) {
        if (options && word == "--") {
            options = false;
        } else if (options && word.size() > 1 && word.front() == '-') {
            std::string both;
            for (const Lang lang : {Lang::English, Lang::Russian})
                both += (both.empty() ? "" : "\n") + msg::app::unknownOption.utf8(lang, {word});
            return {std::nullopt, both};
        } else {
            files.push_back(word);
        }
    }
    if (files.size() > 1) {
        std::string both;
        for (const Lang lang : {Lang::English, Lang::Russian})
            both += (both.empty() ? "" : "\n") +
                    msg::app::oneFileOnly.utf8(lang, {std::to_string(files.size())});
        return {std::nullopt, both};
    }
    if (files.empty())
        return {};
    return {std::filesystem::absolute(files.front()), {}};
}

Program::Program(Platform& platform) : platform_(platform) {}

Program::~Program() {
    kavo::setTreeLockBusy({});
    if (qtTranslator_)
        QCoreApplication::removeTranslator(qtTranslator_.get());
}

bool Program::start(const std::optional<std::filesystem::path>& olympiadFile) {
    initResources();
    QGuiApplication::setApplicationDisplayName(QString());
    // The program ends when Form1 or Form3 closes, whatever else is open.
    QApplication::setQuitOnLastWindowClosed(false);
    // One icon for every window of the program.
    QApplication::setWindowIcon(QIcon(u":/kavo/kavo.png"_s));
    // A Debian font close to the design font in size, narrow enough for every caption.
    QFont font(u"DejaVu Sans Condensed"_s);
    font.setPixelSize(11);
    QApplication::setFont(font);

    // Each start file is read once, here: a missing one stops the start before any window.
    try {
        programDir_ = std::filesystem::current_path();
        // What an interrupted write left is put right before anything reads the folders.
        // Only under the locks, and not at all while another program writes the folder:
        // what looks interrupted may be its write in progress.
        // The folder the lock opened is the one searched, and System_folder's is the one
        // the start files are read through: each is opened once.
        std::optional<kavo::TreeLock> systemLock;
        for (const char* name : {"Year", "System_folder"}) {
            const fs::path folder = programDir_ / name;
            auto lock = kavo::TreeLock::ifFree(folder);
            if (lock.held() && lock.folder() >= 0)
                kavo::recoverTree(lock.folder(), folder);
            else if (lock.held())
                kavo::recoverTree(folder); // a file system without locks
            if (name == std::string_view("System_folder"))
                systemLock.emplace(std::move(lock));
        }
        const StartFiles files = readStartFiles(programDir_);
        lang_ = files.lang;
        toolkit_ = files.Toolkit;
        const fs::path systemDir = programDir_ / "System_folder";
        editsTemplates_ = render::readEditsTemplates(
            systemLock->folder() >= 0 ? render::TemplateSet::load(systemDir, systemLock->folder())
                                      : render::TemplateSet::load(systemDir));
    } catch (const std::exception& error) {
        QString report = startReportText(error);
        // The executable started on its own, outside a prepared working folder.
        if (!std::filesystem::is_directory(programDir_ / "System_folder")) {
            const std::string folder = fromPath(programDir_).toStdString();
            for (const Lang lang : {Lang::English, Lang::Russian})
                report += u"\n\n"_s + text(msg::app::noSystemFolder, lang, {folder});
        }
        platform_.error(nullptr, report);
        return false;
    }
    translateQt();

    // A folder another program writes: the teacher decides whether to wait for it.
    kavo::setTreeLockBusy([this](const std::filesystem::path& folder) {
        const std::string shown = fromPath(folder).toStdString();
        return platform_.question(QApplication::activeWindow(),
                                  text(msg::shell::treeBusy, lang_, {shown}));
    });
    form1_ = std::make_unique<TForm1>(platform_, programDir_, lang_, toolkit_);
    TForm1* f1 = form1_.get();
    QObject::connect(f1, &TForm1::editsRequested, f1, [this, f1] {
        TForm3* f3 = edits();
        f1->hide();
        f3->show();
    });
    QObject::connect(f1, &TForm1::authorisationRequested, f1, [this] { author()->showDialog(); });
    QObject::connect(f1, &TForm1::partSizesConfirmed, f1, [this] {
        if (form2_)
            form2_->close();
    });
    QObject::connect(f1, &TForm1::closed, f1, [this] { end(); });
    // Closing or a language switch asks while the Edits builder holds unwritten text too.
    f1->setUnwrittenElsewhere([this] { return form3_ && form3_->holdsUnwrittenText(); });
    // A written Edits task opens in the Edits builder, which takes Form1's place.
    QObject::connect(f1, &TForm1::editsReopenRequested, f1,
                     [this, f1](const kavo::model::Task& task) {
                         TForm3* f3 = edits();
                         if (!f3->reopenTask(task))
                             return;
                         f1->hide();
                         f3->show();
                     });

    form1_->show();
    if (olympiadFile)
        form1_->openOlympiadFile(*olympiadFile);
    return true;
}

// Qt's own texts (the folder chooser, the Yes and No of a question) in a Russian run come
// from Qt's translations, and the names of file types and the sizes of files in its file
// dialogs from the default locale; an English run keeps Qt's English.
void Program::translateQt() {
    QLocale::setDefault(lang_ == Lang::Russian ? QLocale(QLocale::Russian, QLocale::Russia)
                                               : QLocale(QLocale::English, QLocale::UnitedStates));
    if (lang_ != Lang::Russian || qtTranslator_)
        return;
    auto translator = std::make_unique<QTranslator>();
    if (translator->load(QLocale(QLocale::Russian), u"qtbase"_s, u"_"_s,
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator.get());
        qtTranslator_ = std::move(translator);
    }
}

TForm2* Program::author() {
    if (!form2_) {
        form2_ = std::make_unique<TForm2>(platform_, programDir_, lang_);
        // Edits tasks written after a new author line carry it.
        QObject::connect(form2_.get(), &TForm2::authorSaved, form2_.get(), [this] {
            if (form3_)
                form3_->reloadHeaders();
            else
                authorSavedBeforeEdits_ = true;
        });
    }
    return form2_.get();
}

TForm3* Program::edits() {
    if (!form3_) {
        TForm1* f1 = form1_.get();
        form3_ = std::make_unique<TForm3>(
            platform_, programDir_, lang_, toolkit_, std::move(*editsTemplates_),
            [f1] { return kavo::review::olympiadOf(f1->partSizes(), f1->OutputDir()); });
        editsTemplates_.reset();
        if (authorSavedBeforeEdits_)
            form3_->reloadHeaders();
        TForm3* f3 = form3_.get();
        QObject::connect(f3, &TForm3::backToMainRequested, f1, [f1, f3] {
            f3->hide();
            f1->show();
        });
        QObject::connect(f3, &TForm3::authorisationRequested, f3,
                         [this] { author()->showDialog(); });
        QObject::connect(f3, &TForm3::closed, f1, [this] { end(); });
        QObject::connect(f3, &TForm3::taskWritten, f1, &TForm1::refreshMarks);
        f3->setUnwrittenElsewhere([f1] { return f1->holdsUnwrittenText(); });
    }
    return form3_.get();
}

void Program::end() {
    if (ended_)
        return;
    ended_ = true;
    if (form2_)
        form2_->close();
    if (form3_)
        form3_->hide();
    form1_->hide();
    QCoreApplication::exit(0);
}

TForm1* Program::form1() const {
    return form1_.get();
}
TForm2* Program::form2() const {
    return form2_.get();
}
TForm3* Program::form3() const {
    return form3_.get();
}

} // namespace kavo::app
