// SPDX-License-Identifier: MIT
#include "ui/common/qt_platform.hpp"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>

namespace kavo::app {

namespace {

void showBox(QWidget* owner, QMessageBox::Icon icon, const QString& text) {
    QMessageBox box(icon, QString(), text, QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

// Qt's own folder dialog refuses a folder that does not exist; this one accepts it: the
// caller asks before creating it.
class FolderDialog : public QFileDialog {
  public:
    FolderDialog(QWidget* owner, const QString& start) : QFileDialog(owner, QString(), start) {
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
    showBox(owner, QMessageBox::Information, text);
}

void QtPlatform::error(QWidget* owner, const QString& text) {
    showBox(owner, QMessageBox::Critical, text);
}

bool QtPlatform::question(QWidget* owner, const QString& text) {
    QMessageBox box(QMessageBox::Question, QString(), text, QMessageBox::Yes | QMessageBox::No,
                    owner);
    box.setTextFormat(Qt::PlainText);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> QtPlatform::chooseFolder(QWidget* owner, const QString& start) {
    const QString from = QFileInfo(start).isDir() ? start : QDir::currentPath();
    FolderDialog dialog(owner, from);
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
