// SPDX-License-Identifier: MIT
#include "ui/edits/tform3.hpp"

#include "core/common/files.hpp"
#include "core/common/messages.hpp"
#include "core/olympiad/tree_read.hpp"
#include "core/render/task_state.hpp"
#include "core/render/task_tree.hpp"
#include "core/review/preview.hpp"
#include "ui/common/platform.hpp"
#include "ui/common/screen_fit.hpp"
#include "ui/common/text_bridge.hpp"
#include "ui/common/widget_help.hpp"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <algorithm>

namespace fs = std::filesystem;

using namespace Qt::Literals::StringLiterals;
namespace msg = kavo::msg;

namespace {

template <typename W> W* make(QWidget* parent, const char* name, const QRect& geometry) {
    auto* widget = new W(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    if constexpr (std::is_same_v<W, QPlainTextEdit>)
        widget->setTabChangesFocus(true); // Tab goes on to the next field
    return widget;
}

QLabel* label(QWidget* parent, const char* name, int left, int top, const QString& caption) {
    auto* widget = new QLabel(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setTextFormat(Qt::PlainText);
    widget->setText(caption);
    widget->move(left, top);
    widget->adjustSize();
    return widget;
}

} // namespace

TForm3::TForm3(kavo::app::Platform& platform, const fs::path& programDir, kavo::Lang lang,
               const kavo::Text& toolkit, kavo::edits::EditsTemplates templates,
               std::function<kavo::model::Olympiad()> olympiad, QWidget* parent)
    : QMainWindow(parent), platform_(platform), programDir_(programDir), lang_(lang),
      guard_(platform, this, lang), templates_(std::move(templates)),
      olympiad_(std::move(olympiad)) {
    setObjectName(u"Form3"_s);
    buildWidgets();
    Memo8->setPlainText(kavo::app::fromText(toolkit));
    buildKeyboard();
    describeWidgets();
}

QString TForm3::caption(const kavo::Message<>& message) const {
    return kavo::app::text(message, lang_);
}

void TForm3::buildWidgets() {
    namespace m = msg::form3;
    setWindowTitle(caption(msg::app::title));

    Menu1 = menuBar()->addMenu(caption(m::Menu1));
    Menu1->setObjectName(u"Menu1"_s);
    N1 = Menu1->addAction(caption(m::N1));
    N1->setObjectName(u"N1"_s);
    Authorisation1 = menuBar()->addAction(caption(m::Authorisation1));
    Authorisation1->setObjectName(u"Authorisation1"_s);
    connect(N1, &QAction::triggered, this, &TForm3::backToMainRequested);
    connect(Authorisation1, &QAction::triggered, this, &TForm3::authorisationRequested);

    // The client area a Windows frame of 887 x 696 leaves below the menu bar, as for the
    // main window.
    auto* client = new QWidget(this);
    client->setObjectName(u"Client"_s);
    client->setFixedSize(871, 638);
    kavo::app::setScrollingClient(this, client);
    // The status bar says where the last save went.
    statusBar()->setObjectName(u"StatusBar1"_s);
    statusBar()->setSizeGripEnabled(false);
    setFixedSize(871, 638 + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());

    Label5 = label(client, "Label5", 40, 16, caption(m::Label5));
    Memo1 = make<QPlainTextEdit>(client, "Memo1", {40, 32, 825, 105});

    // Sub-questions A to D: letter, condition label and field, answer label and field.
    struct SubQuestion {
        QLabel** letter;
        const char* letterName;
        const kavo::Message<>& letterCaption;
        QLabel** condition;
        const char* conditionName;
        const kavo::Message<>& conditionCaption;
        QPlainTextEdit** memo;
        const char* memoName;
        QLabel** answer;
        const char* answerName;
        QLineEdit** edit;
        const char* editName;
    };
    const SubQuestion questions[] = {
        {&Label1, "Label1", m::Label1, &Label6, "Label6", m::Label6, &Memo2, "Memo2", &Label10,
         "Label10", &Edit1, "Edit1"},
        {&Label2, "Label2", m::Label2, &Label7, "Label7", m::Label7, &Memo3, "Memo3", &Label11,
         "Label11", &Edit2, "Edit2"},
        {&Label3, "Label3", m::Label3, &Label8, "Label8", m::Label8, &Memo4, "Memo4", &Label12,
         "Label12", &Edit3, "Edit3"},
        {&Label4, "Label4", m::Label4, &Label9, "Label9", m::Label9, &Memo5, "Memo5", &Label13,
         "Label13", &Edit4, "Edit4"},
    };
    for (int i = 0; i < 4; ++i) {
        const SubQuestion& q = questions[i];
        const int memoTop = 184 + 120 * i;
        const int editTop = 216 + 120 * i;
        *q.letter = label(client, q.letterName, 16, memoTop, caption(q.letterCaption));
        *q.condition =
            label(client, q.conditionName, 40, memoTop - 16, caption(q.conditionCaption));
        *q.memo = make<QPlainTextEdit>(client, q.memoName, {40, memoTop, 417, 89});
        *q.answer = label(client, q.answerName, 488, editTop - 24, caption(m::answer));
        *q.edit = make<QLineEdit>(client, q.editName, {488, editTop, 121, 21});
    }
    CheckBox1 = make<QCheckBox>(client, "CheckBox1", {488, 496, 97, 17});
    CheckBox1->setText(caption(m::remove));
    CheckBox2 = make<QCheckBox>(client, "CheckBox2", {488, 616, 97, 17});
    CheckBox2->setText(caption(m::remove));
    connect(CheckBox1, &QCheckBox::clicked, this, &TForm3::removeCClicked);
    connect(CheckBox2, &QCheckBox::clicked, this, &TForm3::removeDClicked);
    for (QCheckBox* box : {CheckBox1, CheckBox2})
        connect(box, &QCheckBox::toggled, this, &TForm3::greyRemovedQuestions);

    Label15 = label(client, "Label15", 640, 200, caption(m::Label15));
    Memo8 = make<QPlainTextEdit>(client, "Memo8", {640, 216, 225, 281});
    Memo8->setReadOnly(true);

    Panel1 = make<QFrame>(client, "Panel1", {640, 504, 225, 129});
    Panel1->setFrameShape(QFrame::StyledPanel);
    Label16 = label(Panel1, "Label16", 56, 16, caption(m::Label16));
    Edit6 = make<QLineEdit>(Panel1, "Edit6", {56, 32, 121, 21});
    Label14 = label(Panel1, "Label14", 56, 56, caption(m::Label14));
    Edit5 = make<QComboBox>(Panel1, "Edit5", {56, 72, 121, 21});
    Edit5->setEditable(true);
    // A typed folder stays as typed: no item is added on Enter, no completion is filled in.
    Edit5->setInsertPolicy(QComboBox::NoInsert);
    Edit5->setCompleter(nullptr);
    // Tests and the screenshots type into the field by its name, as into any line edit.
    Edit5->lineEdit()->setObjectName(u"Edit5"_s);
    Button1 = make<QPushButton>(Panel1, "Button1", {56, 96, 121, 25});
    Button1->setText(caption(m::Button1));
    Button1->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, &TForm3::saveTask);

    Button2 = make<QPushButton>(client, "Button2", {640, 152, 225, 25});
    Button2->setText(caption(m::Button2));
    Button2->setAutoDefault(false);
    connect(Button2, &QPushButton::clicked, this, &TForm3::previewTask);
}

void TForm3::buildKeyboard() {
    const std::pair<QLabel*, QWidget*> buddies[] = {
        {Label5, Memo1},  {Label1, Memo2},  {Label2, Memo3},  {Label3, Memo4},
        {Label4, Memo5},  {Label6, Memo2},  {Label7, Memo3},  {Label8, Memo4},
        {Label9, Memo5},  {Label10, Edit1}, {Label11, Edit2}, {Label12, Edit3},
        {Label13, Edit4}, {Label15, Memo8}, {Label16, Edit6}, {Label14, Edit5}};
    // With its buddy a label shows its "&" as the mnemonic underline: sized again.
    for (const auto& [label, buddy] : buddies) {
        label->setBuddy(buddy);
        label->adjustSize();
    }
    Button1->setShortcut(QKeySequence::Save);
    kavo::app::chainFocus({Memo1, Memo2, Edit1, Memo3, Edit2, Memo4, Edit3, CheckBox1, Memo5, Edit4,
                           CheckBox2, Memo8, Edit6, Edit5, Button1, Button2});
}

void TForm3::describeWidgets() {
    namespace tip = msg::form3::tip;
    namespace name = msg::form3::name;
    const auto t = [this]<int N>(const kavo::Message<N>& message, const auto&... args) {
        if constexpr (sizeof...(args) == 0)
            return kavo::app::text(message, lang_);
        else
            return kavo::app::text(message, lang_, {std::string_view(args)...});
    };
    const std::string letters[] = {"A", "B", "C", "D"};
    QPlainTextEdit* const memos[] = {Memo2, Memo3, Memo4, Memo5};
    QLineEdit* const edits[] = {Edit1, Edit2, Edit3, Edit4};
    for (int i = 0; i < 4; ++i) {
        kavo::app::describe(memos[i], t(tip::question, letters[i]), t(name::question, letters[i]));
        kavo::app::describe(edits[i], t(tip::answer, letters[i]), t(name::answer, letters[i]));
    }
    kavo::app::describe(Memo1, t(tip::Memo1));
    kavo::app::describe(CheckBox1, t(tip::CheckBox1), t(name::CheckBox1));
    kavo::app::describe(CheckBox2, t(tip::CheckBox2), t(name::CheckBox2));
    kavo::app::describe(Memo8, t(tip::Memo8));
    kavo::app::describe(Edit6, t(tip::Edit6));
    kavo::app::describe(Edit5, t(tip::Edit5));
    kavo::app::describe(Edit5->lineEdit(), t(tip::Edit5),
                        kavo::app::shownCaption(t(msg::form3::Label14)));
    kavo::app::describe(Button2, t(tip::Button2));
    kavo::app::describe(Button1, t(tip::Button1));
    menuBar()->setAccessibleName(t(msg::app::menuBar));
    centralWidget()->setAccessibleName(t(name::client));
    findChild<QWidget*>(u"Client"_s)->setAccessibleName(t(name::client));
    Panel1->setAccessibleName(t(name::Panel1));
    statusBar()->setAccessibleName(t(name::StatusBar1));
    Edit6->setPlaceholderText(t(msg::form3::placeholder6));
    Edit5->lineEdit()->setPlaceholderText(t(msg::form3::placeholder5));
    kavo::app::nameByCaptions(this);
}

void TForm3::greyRemovedQuestions() {
    for (QWidget* widget : std::initializer_list<QWidget*>{Memo4, Edit3})
        widget->setEnabled(!CheckBox1->isChecked());
    for (QWidget* widget : std::initializer_list<QWidget*>{Memo5, Edit4})
        widget->setEnabled(!CheckBox2->isChecked());
}

void TForm3::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // The main window may have changed the part sizes or the task tree meanwhile.
    guard_.run([this] { refreshPlaces(); });
    kavo::app::fitToScreen(this, !centred_);
    centred_ = true;
}

void TForm3::reloadHeaders() {
    guard_.run([this] {
        templates_.taskXml =
            kavo::readText(programDir_ / "System_folder" / "file" / "task_xml.txt");
    });
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
    form.Edit5 = kavo::app::toText(Edit5->currentText(), kavo::Unencodable::Refuse);
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
    Edit5->setEditText(kavo::app::fromText(form.Edit5.value_or(kavo::Text{})));
    Edit6->setText(kavo::app::fromText(form.Edit6));
    CheckBox1->setChecked(form.CheckBox1);
    CheckBox2->setChecked(form.CheckBox2);
}

void TForm3::refreshPlaces() {
    const kavo::model::Olympiad olympiad = olympiad_();
    QStringList places;
    const auto add = [&places](const fs::path& folder) {
        const QString place = QString::fromStdString(folder.generic_string());
        if (!places.contains(place))
            places << place;
    };
    for (std::int64_t n = 1; n <= std::min<std::int64_t>(olympiad.sizes.total(), 99); ++n)
        if (const auto place = olympiad.place(n))
            add(place->folder);
    for (const fs::path& folder : kavo::render::taskFolders(olympiad.outputDir))
        add(folder);
    const QString typed = Edit5->currentText();
    const QSignalBlocker quiet(Edit5);
    Edit5->clear();
    Edit5->addItems(places);
    Edit5->setCurrentIndex(-1);
    Edit5->setEditText(typed);
}

void TForm3::saveTask() {
    guard_.run([this] {
        auto form = readForm();
        kavo::edits::EditsQuestions questions;
        questions.markup = [this](const kavo::Text& question) {
            return platform_.ask(this, kavo::app::fromText(question), false);
        };
        questions.replace = [this](const std::string& question) {
            return platform_.ask(this, QString::fromStdString(question), false);
        };
        questions.systemDir = programDir_ / "System_folder";
        const auto result =
            kavo::edits::saveEditsTask(form, templates_, olympiad_(), lang_, questions);
        if (!result.message.empty())
            platform_.information(this, kavo::app::fromText(result.message));
        if (!result.written)
            return;
        showForm(form);
        shown_ = readForm();
        lastSaved_ = result.taskFolder;
        statusBar()->showMessage(QString::fromStdString(result.status));
        refreshPlaces();
        emit taskWritten();
    });
}

void TForm3::previewTask() {
    guard_.run([this] {
        const kavo::model::Olympiad olympiad = olympiad_();
        fs::path folder = lastSaved_;
        if (!Edit5->currentText().isEmpty()) {
            const auto typed = kavo::app::toText(Edit5->currentText(), kavo::Unencodable::Refuse);
            const auto place = typed ? olympiad.editsFolder(*typed) : std::nullopt;
            if (!place) {
                platform_.information(this, caption(msg::edits::badFolder));
                return;
            }
            folder = olympiad.outputDir / *place;
        } else if (folder.empty()) {
            platform_.information(this, caption(msg::edits::noNumber));
            return;
        }
        if (!fs::is_regular_file(folder / "task.asp")) {
            const fs::path shown = folder.lexically_relative(olympiad.outputDir);
            platform_.information(this, kavo::app::text(msg::form3::nothingToPreview, lang_,
                                                        {shown.generic_string()}));
            return;
        }
        const auto result = kavo::review::previewTask(
            {lang_, programDir_, 0, 1, [&folder](std::int64_t) { return folder; }});
        if (!result.url.empty())
            platform_.openUrl(QString::fromStdString(result.url));
        if (!result.message.empty())
            platform_.information(this, kavo::app::fromText(result.message));
    });
}

void TForm3::closeEvent(QCloseEvent* event) {
    const bool here = holdsUnwrittenText();
    if ((here || (unwrittenElsewhere_ && unwrittenElsewhere_())) &&
        !platform_.ask(
            this, caption(here ? msg::form3::closeUnwritten : msg::shell::unwrittenClose), false)) {
        event->ignore();
        return;
    }
    event->accept();
    emit closed();
}

bool TForm3::holdsUnwrittenText() const {
    const kavo::edits::EditsForm form = readForm();
    if (form == shown_)
        return false;
    // The number alone is no work to lose.
    const QString texts[] = {kavo::app::plainText(Memo1),
                             kavo::app::plainText(Memo2),
                             kavo::app::plainText(Memo3),
                             kavo::app::plainText(Memo4),
                             kavo::app::plainText(Memo5),
                             Edit1->text(),
                             Edit2->text(),
                             Edit3->text(),
                             Edit4->text(),
                             Edit6->text()};
    return std::any_of(std::begin(texts), std::end(texts),
                       [](const QString& text) { return !text.isEmpty(); });
}

bool TForm3::reopenTask(const kavo::model::Task& task) {
    bool shown = false;
    guard_.run([&] {
        const QString folder = kavo::app::fromText(task.folder);
        if (holdsUnwrittenText() &&
            !platform_.ask(
                this, kavo::app::text(msg::reopen::replaceEditsForm, lang_, {folder.toStdString()}),
                false))
            return;
        showForm(kavo::edits::editsFormOf(task));
        shown_ = readForm();
        statusBar()->clearMessage();
        refreshPlaces();
        shown = true;
    });
    return shown;
}
