// SPDX-License-Identifier: MIT
#include "ui/common/qt_platform.hpp"

#include "core/common/messages.hpp"
#include "ui/common/text_bridge.hpp"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>

namespace kavo::app {

namespace {

// The program's name in the title: an empty one would show the executable's name.
QString boxTitle() {
    return text(msg::app::title, Lang::English);
}

int showBox(QWidget* owner, QMessageBox::Icon icon, const QString& text,
            QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, boxTitle(), text, buttons, owner);
    box.setTextFormat(Qt::PlainText);
    return box.exec();
}

// Qt's own folder dialog refuses a folder that does not exist; this one accepts it: the
// caller asks before creating it.
class FolderDialog : public QFileDialog {
  public:
    FolderDialog(QWidget* owner, const QString& title, const QString& start)
        : QFileDialog(owner, title, start) {
        setOption(QFileDialog::DontUseNativeDialog);
        setOption(QFileDialog::ShowDirsOnly);
        setFileMode(QFileDialog::Directory);
        setAcceptMode(QFileDialog::AcceptOpen);
    }

    QString chosen;

    void accept() override {
        const QStringList files = selectedFiles();
        if (files.isEmpty())
            return;
        const QString path = QDir::cleanPath(files.first());
        chosen = path;
        QDialog::accept();
    }
};

} // namespace

void QtPlatform::information(QWidget* owner, const QString& text) {
    showBox(owner, QMessageBox::Information, text, QMessageBox::Ok);
}

void QtPlatform::error(QWidget* owner, const QString& text) {
    showBox(owner, QMessageBox::Critical, text, QMessageBox::Ok);
}

bool QtPlatform::question(QWidget* owner, const QString& text) {
    return showBox(owner, QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

bool QtPlatform::ask(QWidget* owner, const QString& text, bool defaultYes) {
    QMessageBox box(QMessageBox::Question, boxTitle(), text, QMessageBox::Yes | QMessageBox::No,
                    owner);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultYes ? QMessageBox::Yes : QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> QtPlatform::chooseFile(QWidget* owner, FileMode mode, const QString& title,
                                              const QString& start, const QString& filter) {
    const QString chosen = mode == FileMode::Open
                               ? QFileDialog::getOpenFileName(owner, title, start, filter, nullptr,
                                                              QFileDialog::DontUseNativeDialog)
                               : QFileDialog::getSaveFileName(owner, title, start, filter, nullptr,
                                                              QFileDialog::DontUseNativeDialog);
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

std::optional<QString> QtPlatform::chooseFolder(QWidget* owner, const QString& title,
                                                const QString& start) {
    const QString from = QFileInfo(start).isDir() ? start : QDir::currentPath();
    FolderDialog dialog(owner, title, from);
    if (dialog.exec() != QDialog::Accepted || dialog.chosen.isEmpty())
        return std::nullopt;
    return dialog.chosen;
}

bool QtPlatform::openUrl(const QString& url) {
    const QUrl target = QFileInfo(url).isAbsolute() ? QUrl::fromLocalFile(url) : QUrl(url);
    return QDesktopServices::openUrl(target);
}

bool QtPlatform::restart(const QString& executable, const QString& workingDirectory) {
    return QProcess::startDetached(executable, {}, workingDirectory);
}

} // namespace kavo::app
