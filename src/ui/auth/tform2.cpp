// SPDX-License-Identifier: MIT
#include "ui/auth/tform2.hpp"

#include "core/auth/author.hpp"
#include "core/common/messages.hpp"
#include "core/auth/saved_author.hpp"
#include "ui/common/platform.hpp"
#include "ui/common/screen_fit.hpp"
#include "ui/common/text_bridge.hpp"
#include "ui/common/widget_help.hpp"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;
namespace msg = kavo::msg;

namespace {

template <typename W> W* place(QWidget* parent, const char* name, int left, int top) {
    auto* widget = new W(parent);
    widget->setObjectName(QString::fromLatin1(name));
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
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    widget->setAutoDefault(false);
    return widget;
}

} // namespace

TForm2::TForm2(kavo::app::Platform& platform, const std::filesystem::path& programDir,
               kavo::Lang lang, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint),
      programDir_(programDir), lang_(lang), guard_(platform, this, lang) {
    const auto t = [lang](const kavo::Message<>& message) {
        return kavo::app::text(message, lang);
    };
    setObjectName(u"Form2"_s);
    setWindowTitle(t(msg::form2::Form2));
    // The client area a Windows frame of 415 x 220 leaves, as for the main window.
    setFixedSize(399, 182);
    move(580, 367);
    // An open dialog never keeps the program running once the main window closes.
    setAttribute(Qt::WA_QuitOnClose, false);

    Label1 = label(this, "Label1", 72, 24, t(msg::form2::Label1));
    Label2 = label(this, "Label2", 104, 48, t(msg::form2::Label2));
    Edit1 = place<QLineEdit>(this, "Edit1", 72, 88);
    Edit1->resize(265, 21);
    Button1 = button(this, "Button1", {72, 144, 75, 25}, t(msg::form2::Button1));
    Button2 = button(this, "Button2", {264, 144, 75, 25}, t(msg::form2::Button2));
    connect(Button1, &QPushButton::clicked, this, &TForm2::save);
    connect(Button2, &QPushButton::clicked, this, &TForm2::cancel);

    // The line of the last Save, so that a restart shows what the tasks carry.
    if (const auto line = kavo::auth::savedAuthorLine(programDir_))
        Edit1->setText(kavo::app::fromText(*line));
    Edit1->setPlaceholderText(t(msg::form2::placeholder));
    Label1->setBuddy(Edit1);
    Label1->adjustSize();
    kavo::app::chainFocus({Edit1, Button1, Button2});
    namespace tip = msg::form2::tip;
    kavo::app::describe(Edit1, t(tip::Edit1), t(msg::form2::name::Edit1));
    kavo::app::describe(Button1, t(tip::Button1));
    kavo::app::describe(Button2, t(tip::Button2));
    Label2->setAccessibleName(
        kavo::app::text(msg::form2::name::Label2, lang, {Label2->text().toStdString()}));
    kavo::app::nameByCaptions(this);
}

void TForm2::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        (focusWidget() == Button2 ? Button2 : Button1)->click();
        break;
    case Qt::Key_Escape:
        Button2->click();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void TForm2::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The designed place at the first show, later where it was left; on a small or scaled
    // screen the nearest place inside it.
    kavo::app::keepInside(this, placed_ ? frameGeometry().topLeft() : QPoint(580, 367));
    placed_ = true;
}

void TForm2::showDialog() {
    show();
    raise();
    activateWindow();
    Edit1->setFocus(Qt::ActiveWindowFocusReason);
}

void TForm2::save() {
    // A character the code page cannot hold goes into the description as a reference.
    const bool saved = guard_.run([this] {
        kavo::auth::saveAuthor(programDir_, kavo::app::toPageText(Edit1->text()), lang_);
    });
    if (!saved)
        return;
    hide();
    emit authorSaved();
}

void TForm2::cancel() {
    hide();
}
