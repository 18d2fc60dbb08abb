// SPDX-License-Identifier: MIT
#include "app/program.hpp"

#include "core/common/files.hpp"

#include "ui/auth/tform2.hpp"
#include "ui/common/platform.hpp"
#include "ui/common/text_bridge.hpp"
#include "ui/edits/tform3.hpp"
#include "ui/main/tform1.hpp"

#include <QApplication>
#include <QFont>
#include <exception>

static void initResources() {
    Q_INIT_RESOURCE(kavo);
}

namespace kavo::app {

Program::Program(Platform& platform) : platform_(platform) {}

Program::~Program() = default;

bool Program::start() {
    initResources();
    QGuiApplication::setApplicationDisplayName(QString());
    // The program ends when Form1 or Form3 closes, whatever else is open.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(QIcon(":/kavo/kavo.png"));
    // A Debian font close to the design font in size, narrow enough for every caption.
    QFont font("DejaVu Sans Condensed");
    font.setPixelSize(11);
    QApplication::setFont(font);

    try {
        const auto programDir = std::filesystem::current_path();
        // What an interrupted write left is put right before anything reads the folders.
        kavo::recoverTree(programDir / "System_folder");
        kavo::recoverTree(programDir / "Year");
        form1_ = std::make_unique<TForm1>(platform_, programDir);
        form2_ = std::make_unique<TForm2>(platform_, programDir);
        form3_ = std::make_unique<TForm3>(platform_, programDir, [form1 = form1_.get()] {
            return kavo::review::olympiadOf(form1->partSizes(), form1->OutputDir());
        });
    } catch (const std::exception& error) {
        form3_.reset();
        form2_.reset();
        form1_.reset();
        platform_.error(nullptr, fromReport(error.what()));
        return false;
    }

    TForm1* f1 = form1_.get();
    TForm2* f2 = form2_.get();
    TForm3* f3 = form3_.get();
    QObject::connect(f1, &TForm1::editsRequested, f1, [f1, f3] {
        f1->hide();
        f3->show();
    });
    QObject::connect(f3, &TForm3::backToMainRequested, f1, [f1, f3] {
        f3->hide();
        f1->show();
    });
    QObject::connect(f1, &TForm1::authorisationRequested, f2, &TForm2::showDialog);
    QObject::connect(f3, &TForm3::authorisationRequested, f2, &TForm2::showDialog);
    // Edits tasks written after a new author line carry it.
    QObject::connect(f2, &TForm2::authorSaved, f3, &TForm3::reloadHeaders);
    QObject::connect(f1, &TForm1::partSizesConfirmed, f2, &QWidget::close);
    QObject::connect(f1, &TForm1::closed, f1, [this] { end(); });
    QObject::connect(f3, &TForm3::closed, f1, [this] { end(); });

    form1_->show();
    return true;
}

void Program::end() {
    if (ended_)
        return;
    ended_ = true;
    form2_->close();
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
