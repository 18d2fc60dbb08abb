// SPDX-License-Identifier: MIT
#include "ui/auth/tform2.hpp"
#include "core/common/files.hpp"
#include "core/shell/language.hpp"

#include "core/auth/author.hpp"
#include "core/common/error.hpp"
#include "ui/common/platform.hpp"
#include "ui/common/text_bridge.hpp"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The sample shows the expected form of the line; the person is made up.
constexpr const char* sampleEntry = "Sorokina Vera,  MF-12, October  2025";

template <typename W> W* place(QWidget* parent, const char* name, int left, int top) {
    auto* widget = new W(parent);
    widget->setObjectName(name);
    widget->move(left, top);
    return widget;
}

QLabel* label(QWidget* parent, const char* name, int left, int top, const QString& caption) {
    auto* widget = place<QLabel>(parent, name, left, top);
    widget->setTextFormat(Qt::PlainText);
    widget->setText(caption);
    widget->adjustSize();
    return widget;
}

QPushButton* button(QWidget* parent, const char* name, const QRect& geometry,
                    const QString& caption) {
    auto* widget = new QPushButton(caption, parent);
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    widget->setAutoDefault(false);
    return widget;
}

} // namespace

TForm2::TForm2(kavo::app::Platform& platform, const std::filesystem::path& programDir,
               QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint),
      platform_(platform), programDir_(programDir) {
    setObjectName("Form2");
    setWindowTitle(QStringLiteral("Авторизация"));
    // The client area a Windows frame of 415 x 220 leaves, as for the main window.
    setFixedSize(399, 182);
    move(580, 367);
    // An open dialog never keeps the program running once the main window closes.
    setAttribute(Qt::WA_QuitOnClose, false);

    Label1 =
        label(this, "Label1", 72, 24, QStringLiteral("Введите свои данные согласно образцу :"));
    Label2 = label(this, "Label2", 104, 48, QString::fromUtf8(sampleEntry));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName("Edit1");
    Edit1->setGeometry(72, 88, 265, 21);
    Button1 = button(this, "Button1", {72, 144, 75, 25}, QStringLiteral("Сохранить"));
    Button2 = button(this, "Button2", {264, 144, 75, 25}, QStringLiteral("Отмена"));
    connect(Button1, &QPushButton::clicked, this, &TForm2::save);
    connect(Button2, &QPushButton::clicked, this, &TForm2::cancel);

    lang_ = kavo::app::readLanguage(programDir_);
    if (lang_ == kavo::Lang::English)
        applyEnglish();
}

void TForm2::applyEnglish() {
    setWindowTitle(QStringLiteral("Authorization"));
    Label1->setText(QStringLiteral("Enter your details in accordance with the model :"));
    Label1->adjustSize();
    Button1->setText(QStringLiteral("Save"));
    Button2->setText(QStringLiteral("Cancel"));
}

void TForm2::showDialog() {
    show();
    raise();
    activateWindow();
}

void TForm2::save() {
    try {
        // A character the code page cannot hold goes into the description as a reference.
        kavo::auth::saveAuthor(programDir_, kavo::app::toPageText(Edit1->text()), lang_);
    } catch (const std::exception& e) {
        platform_.error(this, kavo::app::fromReport(e.what()));
        return;
    }
    hide();
    emit authorSaved();
}

void TForm2::cancel() {
    hide();
}
