// SPDX-License-Identifier: MIT
#include "ui/edits/tform3.hpp"
#include "core/common/files.hpp"
#include "core/shell/language.hpp"

#include "core/common/codepage.hpp"
#include "core/common/error.hpp"
#include "ui/common/platform.hpp"
#include "ui/common/text_bridge.hpp"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

namespace fs = std::filesystem;

namespace {

template <typename W> W* make(QWidget* parent, const char* name, const QRect& geometry) {
    auto* widget = new W(parent);
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    return widget;
}

QLabel* label(QWidget* parent, const char* name, int left, int top, const QString& caption) {
    auto* widget = new QLabel(parent);
    widget->setObjectName(name);
    widget->setTextFormat(Qt::PlainText);
    widget->setText(caption);
    widget->move(left, top);
    widget->adjustSize();
    return widget;
}

void setCaption(QLabel* label, const char* caption) {
    label->setText(QString::fromUtf8(caption));
    label->adjustSize();
}

} // namespace

TForm3::TForm3(kavo::app::Platform& platform, const fs::path& programDir,
               std::function<kavo::model::Olympiad()> olympiad, QWidget* parent)
    : QMainWindow(parent), platform_(platform), programDir_(programDir),
      olympiad_(std::move(olympiad)) {
    setObjectName("Form3");
    buildWidgets();

    const auto system = programDir_ / "System_folder";
    templates_ = kavo::edits::readEditsTemplates(programDir_);
    Memo8->setPlainText(kavo::app::fromText(kavo::readText(system / "file" / "Toolkit.txt")));
    lang_ = kavo::app::readLanguage(programDir_);
    if (lang_ == kavo::Lang::English) {
        Memo8->setPlainText(
            kavo::app::fromText(kavo::readText(system / "Language" / "Toolkit.txt")));
        applyEnglish();
    }
}

void TForm3::buildWidgets() {
    setWindowTitle(QStringLiteral("Kavo Program"));

    Menu1 = menuBar()->addMenu(QStringLiteral("Меню"));
    Menu1->setObjectName("Menu1");
    N1 = Menu1->addAction(QStringLiteral("На главную форму"));
    N1->setObjectName("N1");
    Authorisation1 = menuBar()->addAction(QStringLiteral("Авторизация"));
    Authorisation1->setObjectName("Authorisation1");
    connect(N1, &QAction::triggered, this, &TForm3::backToMainRequested);
    connect(Authorisation1, &QAction::triggered, this, &TForm3::authorisationRequested);

    // The client area a Windows frame of 887 x 696 leaves below the menu bar, as for the
    // main window.
    auto* client = new QWidget(this);
    client->setObjectName("Client");
    client->setFixedSize(871, 638);
    setCentralWidget(client);
    setFixedSize(871, 638 + menuBar()->sizeHint().height());
    if (const auto* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    Label5 = label(client, "Label5", 40, 16, QStringLiteral("Общее условие"));
    Memo1 = make<QPlainTextEdit>(client, "Memo1", {40, 32, 825, 105});

    // Sub-questions A to D: letter, condition label and field, answer label and field.
    const char* letters[] = {"A)", "B)", "C)", "D)"};
    const char* letterNames[] = {"Label1", "Label2", "Label3", "Label4"};
    const char* conditionLabels[] = {"Label6", "Label7", "Label8", "Label9"};
    const char* memoNames[] = {"Memo2", "Memo3", "Memo4", "Memo5"};
    const char* answerLabels[] = {"Label10", "Label11", "Label12", "Label13"};
    const char* editNames[] = {"Edit1", "Edit2", "Edit3", "Edit4"};
    QLabel** letterWidgets[] = {&Label1, &Label2, &Label3, &Label4};
    QLabel** conditionWidgets[] = {&Label6, &Label7, &Label8, &Label9};
    QPlainTextEdit** memos[] = {&Memo2, &Memo3, &Memo4, &Memo5};
    QLabel** answerWidgets[] = {&Label10, &Label11, &Label12, &Label13};
    QLineEdit** edits[] = {&Edit1, &Edit2, &Edit3, &Edit4};
    for (int i = 0; i < 4; ++i) {
        const int memoTop = 184 + 120 * i;
        const int editTop = 216 + 120 * i;
        *letterWidgets[i] = label(client, letterNames[i], 16, memoTop, letters[i]);
        *conditionWidgets[i] =
            label(client, conditionLabels[i], 40, memoTop - 16, QStringLiteral("Условие"));
        *memos[i] = make<QPlainTextEdit>(client, memoNames[i], {40, memoTop, 417, 89});
        *answerWidgets[i] =
            label(client, answerLabels[i], 488, editTop - 24, QStringLiteral("Ответ"));
        *edits[i] = make<QLineEdit>(client, editNames[i], {488, editTop, 121, 21});
    }
    CheckBox1 = make<QCheckBox>(client, "CheckBox1", {488, 496, 97, 17});
    CheckBox1->setText(QStringLiteral("Удалить"));
    CheckBox2 = make<QCheckBox>(client, "CheckBox2", {488, 616, 97, 17});
    CheckBox2->setText(QStringLiteral("Удалить"));
    connect(CheckBox1, &QCheckBox::clicked, this, &TForm3::removeCClicked);
    connect(CheckBox2, &QCheckBox::clicked, this, &TForm3::removeDClicked);

    Label15 = label(client, "Label15", 640, 200, QStringLiteral("Памятка тегов"));
    Memo8 = make<QPlainTextEdit>(client, "Memo8", {640, 216, 225, 281});
    Memo8->setReadOnly(true);

    Panel1 = make<QFrame>(client, "Panel1", {640, 504, 225, 129});
    Panel1->setFrameShape(QFrame::StyledPanel);
    Label16 = label(Panel1, "Label16", 56, 16, QStringLiteral("Название задачи"));
    Edit6 = make<QLineEdit>(Panel1, "Edit6", {56, 32, 121, 21});
    Label14 = label(Panel1, "Label14", 56, 56, QStringLiteral("Номер задачи"));
    Edit5 = make<QLineEdit>(Panel1, "Edit5", {56, 72, 121, 21});
    Button1 = make<QPushButton>(Panel1, "Button1", {56, 96, 121, 25});
    Button1->setText(QStringLiteral("Сохранить задачу"));
    Button1->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, &TForm3::saveTask);
}

void TForm3::applyEnglish() {
    setCaption(Label5, "Main task");
    setCaption(Label6, "Task A");
    setCaption(Label7, "Task B");
    setCaption(Label8, "Task C");
    setCaption(Label9, "Task D");
    for (QLabel* answer : {Label10, Label11, Label12, Label13})
        setCaption(answer, "Answer");
    setCaption(Label15, "Memo Tag");
    setCaption(Label14, "Number of the task");
    setCaption(Label16, "Name of the task");
    CheckBox1->setText(QStringLiteral("Remove"));
    CheckBox2->setText(QStringLiteral("Remove"));
    Button1->setText(QStringLiteral("Add the task"));
    N1->setText(QStringLiteral("Main template"));
    Menu1->setTitle(QStringLiteral("Menu"));
    Authorisation1->setText(QStringLiteral("Authorisation"));
}

void TForm3::reloadHeaders() {
    try {
        templates_.taskXml =
            kavo::readText(programDir_ / "System_folder" / "file" / "task_xml.txt");
    } catch (const std::exception& e) {
        platform_.error(this, kavo::app::fromReport(e.what()));
    }
}

// Removing C removes D too, and keeping D keeps C: C never goes while D stays.
void TForm3::removeCClicked(bool checked) {
    if (checked)
        CheckBox2->setChecked(true);
}

void TForm3::removeDClicked(bool checked) {
    if (!checked)
        CheckBox1->setChecked(false);
}

kavo::edits::EditsForm TForm3::readForm() const {
    kavo::edits::EditsForm form;
    form.Memo1 = kavo::app::toPageText(kavo::app::plainText(Memo1));
    form.Memo2 = kavo::app::toPageText(kavo::app::plainText(Memo2));
    form.Memo3 = kavo::app::toPageText(kavo::app::plainText(Memo3));
    form.Memo4 = kavo::app::toPageText(kavo::app::plainText(Memo4));
    form.Memo5 = kavo::app::toPageText(kavo::app::plainText(Memo5));
    form.Edit1 = kavo::app::toText(Edit1->text(), kavo::Unencodable::Refuse);
    form.Edit2 = kavo::app::toText(Edit2->text(), kavo::Unencodable::Refuse);
    form.Edit3 = kavo::app::toText(Edit3->text(), kavo::Unencodable::Refuse);
    form.Edit4 = kavo::app::toText(Edit4->text(), kavo::Unencodable::Refuse);
    form.Edit5 = kavo::app::toText(Edit5->text(), kavo::Unencodable::Refuse);
    form.Edit6 = kavo::app::toPageText(Edit6->text());
    form.CheckBox1 = CheckBox1->isChecked();
    form.CheckBox2 = CheckBox2->isChecked();
    return form;
}

void TForm3::showForm(const kavo::edits::EditsForm& form) {
    Memo1->setPlainText(kavo::app::fromText(form.Memo1));
    Memo2->setPlainText(kavo::app::fromText(form.Memo2));
    Memo3->setPlainText(kavo::app::fromText(form.Memo3));
    Memo4->setPlainText(kavo::app::fromText(form.Memo4));
    Memo5->setPlainText(kavo::app::fromText(form.Memo5));
    Edit1->setText(kavo::app::fromText(form.Edit1.value_or(kavo::Text{})));
    Edit2->setText(kavo::app::fromText(form.Edit2.value_or(kavo::Text{})));
    Edit3->setText(kavo::app::fromText(form.Edit3.value_or(kavo::Text{})));
    Edit4->setText(kavo::app::fromText(form.Edit4.value_or(kavo::Text{})));
    Edit5->setText(kavo::app::fromText(form.Edit5.value_or(kavo::Text{})));
    Edit6->setText(kavo::app::fromText(form.Edit6));
    CheckBox1->setChecked(form.CheckBox1);
    CheckBox2->setChecked(form.CheckBox2);
}

void TForm3::saveTask() {
    auto form = readForm();
    try {
        const auto result = kavo::edits::saveEditsTask(form, templates_, olympiad_(), lang_);
        if (!result.message.empty())
            platform_.information(this, kavo::app::fromText(result.message));
        if (result.written)
            showForm(form);
    } catch (const std::exception& e) {
        platform_.error(this, kavo::app::fromReport(e.what()));
    }
}

void TForm3::closeEvent(QCloseEvent* event) {
    event->accept();
    emit closed();
}
