// SPDX-License-Identifier: MIT
#include "ui/main/tform1.hpp"
#include "ui/main/overview.hpp"

#include "core/common/messages.hpp"
#include "core/shell/commands.hpp"
#include "ui/common/click_label.hpp"
#include "ui/common/platform.hpp"
#include "ui/common/screen_fit.hpp"
#include "ui/common/text_bridge.hpp"
#include "ui/common/widget_help.hpp"
#include "ui/common/window_drag.hpp"

#include <QActionGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTextDocument>
#include <QTimer>

using kavo::app::ClickLabel;
using namespace Qt::Literals::StringLiterals;
namespace msg = kavo::msg;

namespace {

// The width a button or box has at design; it grows only as far as its caption needs.
const char* const DesignWidth = "designWidth";

template <typename W> W* made(QWidget* parent, const char* name) {
    auto* widget = new W(parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* label(QWidget* parent, const char* name, const QString& caption, int x, int y) {
    auto* widget = made<QLabel>(parent, name);
    widget->setTextFormat(Qt::PlainText);
    widget->move(x, y);
    TForm1::setCaption(widget, caption);
    return widget;
}

// A widget with a design size; a button or box grows wide enough for its caption.
template <typename W> W* placed(W* widget, int x, int y, int w, int h) {
    widget->setGeometry(x, y, w, h);
    return widget;
}

QPlainTextEdit* memo(QWidget* parent, const char* name, int x, int y, int w, int h) {
    auto* edit = placed(made<QPlainTextEdit>(parent, name), x, y, w, h);
    edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Tab goes on to the next field: a typed tab would be lost in the page anyway.
    edit->setTabChangesFocus(true);
    return edit;
}

QListWidget* list(QWidget* parent, const char* name, int x, int y, int w, int h) {
    auto* box = placed(made<QListWidget>(parent, name), x, y, w, h);
    box->setSelectionMode(QAbstractItemView::SingleSelection);
    return box;
}

QLineEdit* edit(QWidget* parent, const char* name, int x, int y, int w, int h) {
    return placed(made<QLineEdit>(parent, name), x, y, w, h);
}

template <typename B>
B* button(QWidget* parent, const char* name, const QString& caption, int x, int y, int w, int h) {
    auto* widget = made<B>(parent, name);
    widget->setProperty(DesignWidth, w);
    widget->setGeometry(x, y, w, h);
    TForm1::setCaption(widget, caption);
    return widget;
}

QAction* action(QObject* parent, const char* name, const QString& caption) {
    auto* item = new QAction(caption, parent);
    item->setObjectName(QString::fromLatin1(name));
    return item;
}

const QColor LinkGreen(0, 128, 0);

} // namespace

TForm1::TForm1(kavo::app::Platform& platform, const std::filesystem::path& programDir,
               kavo::Lang lang, const kavo::Text& toolkit, QWidget* parent)
    : QMainWindow(parent), platform_(platform), lang_(lang), guard_(platform, this, lang) {
    setObjectName(u"Form1"_s);
    setWindowTitle(caption(msg::app::title));
    buildMenu();
    buildWidgets();

    // The start state, in the order the program has always set it.
    Memo1->clear();
    Edit2->clear();
    for (QListWidget* box : {ListBox2, ListBox3})
        box->addItems({caption(msg::form1::yes), caption(msg::form1::no)});
    RadioButton2->setChecked(true);
    programDir_ = programDir;
    setOutputDir(programDir_ / "Year");
    Toolkit->setPlainText(kavo::app::fromText(toolkit));

    buildKeyboard();
    describeWidgets();
    connectHandlers();
    buildReopen();
    Timer1->start();
}

TForm1::~TForm1() = default;

QString TForm1::caption(const kavo::Message<>& message) const {
    return kavo::app::text(message, lang_);
}

void TForm1::setCaption(QLabel* label, const QString& text) {
    label->setText(text);
    label->adjustSize();
}

void TForm1::setCaption(QAbstractButton* button, const QString& text) {
    button->setText(text);
    const QVariant design = button->property(DesignWidth);
    if (design.isValid())
        button->resize(std::max(design.toInt(), button->sizeHint().width()), button->height());
    else
        button->adjustSize();
}

void TForm1::setOutputDir(const std::filesystem::path& dir) {
    const bool changed = dir != outputDir_;
    outputDir_ = dir;
    const QString shown = kavo::app::fromPath(dir);
    setCaption(Label19, shown);
    Label19->setAccessibleName(
        kavo::app::text(msg::form1::name::outputFolder, lang_, {shown.toStdString()}));
    // What the status bar said of the last write belongs to the folder before.
    statusBar()->clearMessage();
    // The review's files are those of the tree before: Save would write them here.
    if (changed)
        emptyReview();
    followTreeSizes();
    refreshMarks();
    if (overview_ && overview_->isVisible())
        overview_->refresh();
}

void TForm1::buildMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(u"MainMenu1"_s);
    Menu1 = bar->addMenu(caption(msg::form1::Menu1));
    Menu1->setObjectName(u"Menu1"_s);
    N2 = action(this, "N2", caption(msg::form1::N2));
    N4 = action(this, "N4", caption(msg::form1::N4));
    N1 = action(this, "N1", caption(msg::form1::N1));
    N3 = action(this, "N3", caption(msg::form1::N3));
    Overview1 = action(this, "Overview1", caption(msg::overview::Overview1));
    CheckOlympiad1 = action(this, "CheckOlympiad1", caption(msg::overview::CheckOlympiad1));
    CheckOlympiad1->setToolTip(caption(msg::overview::tip::CheckOlympiad1));
    Menu1->addActions({N2, N4, N1, Overview1, CheckOlympiad1, N3});
    buildOlympiadMenu();
    k1 = action(this, "k1", caption(msg::form1::k1));
    Authorisation1 = action(this, "Authorisation1", caption(msg::form1::Authorisation1));
    information1 = action(this, "information1", caption(msg::form1::information1));
    bar->addActions({k1, Authorisation1, information1});
    Language1 = bar->addMenu(caption(msg::form1::Language1));
    Language1->setObjectName(u"Language1"_s);
    Russian1 = action(this, "Russian1", caption(msg::form1::Russian1));
    English1 = action(this, "English1", caption(msg::form1::English1));
    Language1->addActions({Russian1, English1});
    languages = new QActionGroup(this);
    for (QAction* item : {Russian1, English1}) {
        item->setCheckable(true);
        languages->addAction(item);
    }
    (lang_ == kavo::Lang::English ? English1 : Russian1)->setChecked(true);
}

void TForm1::buildWidgets() {
    namespace m = msg::form1;
    client_ = made<QWidget>(this, "client");
    client_->setFixedSize(ClientWidth, ClientHeight);
    kavo::app::setScrollingClient(this, client_);
    new kavo::app::WindowDrag(client_);
    QWidget* c = client_;
    const auto t = [this](const kavo::Message<>& message) { return caption(message); };

    Label1 = label(c, "Label1", t(m::Label1), 24, 16);
    Memo1 = memo(c, "Memo1", 24, 48, 265, 193);
    Label5 = label(c, "Label5", t(m::Label5), 336, 16);
    ListBox2 = list(c, "ListBox2", 384, 48, 49, 33);
    Button9 = button<QPushButton>(c, "Button9", t(m::Button9), 440, 48, 121, 25);
    Label21 = label(c, "Label21", {}, 440, 78);
    Label2 = label(c, "Label2", t(m::Label2), 552, 16);
    ListBox1 = list(c, "ListBox1", 656, 64, 73, 137);
    Label6 = label(c, "Label6", t(m::Label6), 584, 64);
    Label7 = label(c, "Label7", t(m::Label7), 584, 112);
    Label8 = label(c, "Label8", t(m::Label8), 584, 160);
    Edit2 = edit(c, "Edit2", 584, 80, 33, 21);
    Edit3 = edit(c, "Edit3", 584, 128, 33, 21);
    Edit4 = edit(c, "Edit4", 584, 176, 33, 21);
    Edit3->setText(QString::number(0));
    Edit4->setText(QString::number(0));
    Button2 = button<QPushButton>(c, "Button2", t(m::Button2), 576, 208, 153, 25);

    GroupBox1 = placed(made<QGroupBox>(c, "GroupBox1"), 347, 112, 182, 121);
    GroupBox1->setTitle(t(m::GroupBox1));
    CheckBox4 = button<QCheckBox>(GroupBox1, "CheckBox4", t(m::CheckBox4), 8, 16, 97, 17);
    CheckBox4->setChecked(true);
    Label18 = label(GroupBox1, "Label18", t(m::Label18), 8, 40);
    Edit7 = edit(GroupBox1, "Edit7", 8, 56, 169, 21);
    Label20 = label(GroupBox1, "Label20", t(m::Label20), 8, 80);
    Edit8 = edit(GroupBox1, "Edit8", 8, 96, 169, 21);

    Label3 = label(c, "Label3", t(m::Label3), 376, 256);
    struct Variant {
        QLabel** letter;
        const char* letterName;
        const kavo::Message<>& letterCaption;
        int letterLeft;
        QLineEdit** field;
        const char* fieldName;
        int fieldLeft;
    };
    const Variant variants[] = {
        {&A, "A", m::A, 9, &VariantOtveta_1, "VariantOtveta_1", 24},
        {&B, "B", m::B, 184, &VariantOtveta_2, "VariantOtveta_2", 200},
        {&C, "C", m::C, 360, &VariantOtveta_3, "VariantOtveta_3", 376},
        {&D, "D", m::D, 536, &VariantOtveta_4, "VariantOtveta_4", 552},
        {&E, "E", m::E, 712, &VariantOtveta_5, "VariantOtveta_5", 728},
    };
    for (const Variant& v : variants) {
        *v.letter = label(c, v.letterName, t(v.letterCaption), v.letterLeft, 304);
        *v.field = edit(c, v.fieldName, v.fieldLeft, 296, 129, 21);
    }
    const QString remove = t(m::removeAnswer);
    CheckBox1 = button<QCheckBox>(c, "CheckBox1", remove, 360, 328, 145, 17);
    CheckBox2 = button<QCheckBox>(c, "CheckBox2", remove, 536, 328, 145, 17);
    CheckBox3 = button<QCheckBox>(c, "CheckBox3", remove, 712, 328, 145, 17);

    Label4 = label(c, "Label4", t(m::Label4), 32, 384);
    Edit1 = edit(c, "Edit1", 32, 416, 121, 21);
    Label10 = label(c, "Label10", t(m::Label10), 344, 384);
    ListBox3 = list(c, "ListBox3", 384, 416, 57, 33);
    Label9 = label(c, "Label9", t(m::Label9), 664, 384);
    Toolkit = memo(c, "Toolkit", 568, 408, 289, 217);

    Button1 = button<QPushButton>(c, "Button1", t(m::Button1), 32, 520, 129, 33);
    Button5 = button<QPushButton>(c, "Button5", t(m::Button5), 326, 520, 177, 33);

    Image1 = placed(made<ClickLabel>(c, "Image1"), 32, 560, 49, 49);
    Image1->setPixmap(QPixmap(u":/kavo/folder.jpg"_s));
    Image1->setAlignment(Qt::AlignCenter);
    Label19 = made<ClickLabel>(c, "Label19");
    Label19->move(88, 576);
    Label19->setLinkColour(LinkGreen);

    struct Link {
        ClickLabel** widget;
        const char* name;
        QString caption;
        int left;
    };
    const Link links[] = {{&Label17, "Label17", t(m::Label17), 24},
                          {&Label15, "Label15", t(m::Label15), 280},
                          {&Label16, "Label16", t(m::Label16), 568},
                          {&Label14, "Label14", t(m::Label14), 728}};
    for (const Link& link : links) {
        *link.widget = made<ClickLabel>(c, link.name);
        (*link.widget)->move(link.left, 624);
        (*link.widget)->setLinkColour(LinkGreen);
        setCaption(*link.widget, link.caption);
    }

    RadioGroup1 = placed(made<QGroupBox>(c, "RadioGroup1"), 745, 120, 113, 73);
    RadioGroup1->setTitle(t(m::RadioGroup1));
    RadioButton1 = made<QRadioButton>(RadioGroup1, "RadioButton1");
    RadioButton1->move(752 - 745, 144 - 120);
    setCaption(RadioButton1, t(m::RadioButton1));
    RadioButton2 = made<QRadioButton>(RadioGroup1, "RadioButton2");
    RadioButton2->move(752 - 745, 168 - 120);
    setCaption(RadioButton2, t(m::RadioButton2));
    RadioGroup1->hide();

    // The code review layout, hidden at start; its list and fields lie above what they cover.
    Button6 = button<QPushButton>(c, "Button6", t(m::Button6), 24, 520, 121, 33);
    Button8 = button<QPushButton>(c, "Button8", t(m::Button8), 176, 520, 105, 33);
    Button7 = button<QPushButton>(c, "Button7", t(m::Button7), 320, 520, 105, 33);
    ListBox4 = list(c, "ListBox4", 656, 64, 73, 137);
    // The marks of the numbers: small, so that the rows stay as tight as bare numbers.
    for (QListWidget* numbers : {ListBox1, ListBox4})
        numbers->setIconSize(QSize(12, 12));
    Label11 = label(c, "Label11", t(m::Label11), 216, 16);
    Label12 = label(c, "Label12", t(m::Label12), 232, 280);
    Label13 = label(c, "Label13", t(m::Label13), 248, 432);
    Memo2 = memo(c, "Memo2", 24, 40, 529, 233);
    Memo3 = memo(c, "Memo3", 24, 304, 529, 121);
    Memo4 = memo(c, "Memo4", 24, 456, 529, 49);
    for (QWidget* widget : std::initializer_list<QWidget*>{
             Button6, Button8, Button7, ListBox4, Label11, Label12, Label13, Memo2, Memo3, Memo4}) {
        widget->raise();
        widget->hide();
    }

    Timer1 = new QTimer(this);
    Timer1->setObjectName(u"Timer1"_s);
    Timer1->setInterval(1000);

    // What a write did is said here, not in a box.
    statusBar()->setObjectName(u"StatusBar1"_s);
    statusBar()->setSizeGripEnabled(false);

    setFixedSize(ClientWidth,
                 ClientHeight + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
}

void TForm1::buildKeyboard() {
    const std::pair<QLabel*, QWidget*> buddies[] = {
        {Label1, Memo1},  {Label5, ListBox2},  {Label2, ListBox1}, {Label3, VariantOtveta_1},
        {Label4, Edit1},  {Label10, ListBox3}, {Label9, Toolkit},  {Label18, Edit7},
        {Label20, Edit8}, {Label11, Memo2},    {Label12, Memo3},   {Label13, Memo4}};
    // With its buddy a label shows its "&" as the mnemonic underline: sized again.
    for (const auto& [label, buddy] : buddies) {
        label->setBuddy(buddy);
        label->adjustSize();
    }
    // Ctrl+S saves in either layout: only the visible button takes it.
    Button1->setShortcut(QKeySequence::Save);
    Button6->setShortcut(QKeySequence::Save);
    Button5->setShortcut(QKeySequence::Print);
    Image1->setFocusPolicy(Qt::NoFocus); // Label19 beside it does the same
    // In reading order, column by column across the top and row by row below it; each
    // layout skips the other's hidden widgets. The part sizes, their Ok and the number list
    // come one after another, and the window opens in the first size field: a teacher fills
    // them first.
    kavo::app::chainFocus(
        {Memo1,     Memo2,           Memo3,     Memo4,           ListBox2,        Button9,
         CheckBox4, Edit7,           Edit8,     Edit2,           Edit3,           Edit4,
         Button2,   ListBox1,        ListBox4,  VariantOtveta_1, VariantOtveta_2, VariantOtveta_3,
         CheckBox1, VariantOtveta_4, CheckBox2, VariantOtveta_5, CheckBox3,       Edit1,
         ListBox3,  Toolkit,         Button1,   Button5,         Button6,         Button8,
         Button7,   Label19,         Label17,   Label15,         Label16,         Label14});
    Edit2->setFocus();
}

void TForm1::describeWidgets() {
    namespace tip = msg::form1::tip;
    namespace name = msg::form1::name;
    const auto t = [this]<int N>(const kavo::Message<N>& message, const auto&... args) {
        if constexpr (sizeof...(args) == 0)
            return kavo::app::text(message, lang_);
        else
            return kavo::app::text(message, lang_, {std::string_view(args)...});
    };
    struct Help {
        QWidget* widget;
        QString tip;
        QString name; // empty: named by its caption or its label's
    };
    const std::string letters[] = {"A", "B", "C", "D", "E"};
    QLineEdit* const variants[] = {VariantOtveta_1, VariantOtveta_2, VariantOtveta_3,
                                   VariantOtveta_4, VariantOtveta_5};
    QCheckBox* const removes[] = {CheckBox1, CheckBox2, CheckBox3};
    std::vector<Help> help = {
        {Memo1, t(tip::Memo1), {}},
        {ListBox2, t(tip::ListBox2), {}},
        {Button9, t(tip::Button9), {}},
        {ListBox1, t(tip::ListBox1), {}},
        {Edit2, t(tip::partSize), t(name::partSize, "A")},
        {Edit3, t(tip::partSize), t(name::partSize, "B")},
        {Edit4, t(tip::partSize), t(name::partSize, "C")},
        {Button2, t(tip::Button2), {}},
        {CheckBox4, t(tip::CheckBox4), {}},
        {Edit7, t(tip::Edit7), t(name::Edit7)},
        {Edit8, t(tip::Edit8), t(name::Edit8)},
        {Edit1, t(tip::Edit1), {}},
        {ListBox3, t(tip::ListBox3), {}},
        {Toolkit, t(tip::Toolkit), {}},
        {Button1, t(tip::Button1), {}},
        {Button5, t(tip::Button5), {}},
        {Image1, t(tip::outputFolder), t(name::Image1)},
        {Label19, t(tip::outputFolder), {}},
        {ListBox4, t(tip::ListBox4), t(name::ListBox4)},
        {Button8, t(tip::Button8), {}},
        {Memo2, t(tip::Memo2), {}},
        {Memo3, t(tip::Memo3), {}},
        {Memo4, t(tip::Memo4), {}},
        {Button6, t(tip::Button6), {}},
        {Button7, t(tip::Button7), {}},
        {RadioGroup1, {}, t(name::RadioGroup1)},
        {menuBar(), {}, t(msg::app::menuBar)},
        {client_, {}, t(name::client)},
        {centralWidget(), {}, t(name::client)},
        {statusBar(), {}, t(name::StatusBar1)},
    };
    for (int i = 0; i < 5; ++i)
        help.push_back({variants[i], t(tip::variant, letters[i]), t(name::variant, letters[i])});
    for (int i = 0; i < 3; ++i)
        help.push_back({removes[i], t(tip::removeAnswer), t(name::removeAnswer, letters[i + 2])});
    const std::pair<ClickLabel*, std::string_view> links[] = {
        {Label14, kavo::app::WebSiteAddress},
        {Label15, kavo::app::TextRecognitionAddress},
        {Label16, kavo::app::CharacterReferencesAddress},
        {Label17, kavo::app::VideoLessonsAddress}};
    for (const auto& [link, address] : links)
        help.push_back({link, t(tip::link, address), {}});
    for (const Help& h : help)
        kavo::app::describe(h.widget, h.tip, h.name);
    kavo::app::nameByCaptions(this);

    Edit7->setPlaceholderText(t(msg::form1::placeholder::Edit7));
    Edit8->setPlaceholderText(t(msg::form1::placeholder::Edit8));
}

void TForm1::connectHandlers() {
    const auto on = [this](auto* sender, auto signal, std::function<void()> handler) {
        guard_.connect(sender, signal, std::move(handler));
    };
    on(Button2, &QPushButton::clicked, [this] { Button2Click(); });
    on(Button1, &QPushButton::clicked, [this] { Button1Click(); });
    on(N1, &QAction::triggered, [this] { N1Click(); });
    on(N2, &QAction::triggered, [this] { N2Click(); });
    on(Button7, &QPushButton::clicked, [this] { N2Click(); });
    on(Button8, &QPushButton::clicked, [this] { Button8Click(); });
    on(Button6, &QPushButton::clicked, [this] { Button6Click(); });
    on(Russian1, &QAction::triggered, [this] { switchLanguage(false); });
    on(English1, &QAction::triggered, [this] { switchLanguage(true); });
    connect(N4, &QAction::triggered, this, &TForm1::editsRequested);
    connect(Authorisation1, &QAction::triggered, this, &TForm1::authorisationRequested);

    on(k1, &QAction::triggered, [this] { k1Click(); });
    on(information1, &QAction::triggered, [this] { information1Click(); });
    on(N3, &QAction::triggered, [this] { N3Click(); });
    on(Overview1, &QAction::triggered, [this] { showOverview(); });
    on(CheckOlympiad1, &QAction::triggered, [this] { checkOlympiad(); });
    on(Label19, &ClickLabel::clicked, [this] { chooseFolder(); });
    on(Image1, &ClickLabel::clicked, [this] { chooseFolder(); });
    on(Label14, &ClickLabel::clicked, [this] { openLink(14); });
    on(Label15, &ClickLabel::clicked, [this] { openLink(15); });
    on(Label16, &ClickLabel::clicked, [this] { openLink(16); });
    on(Label17, &ClickLabel::clicked, [this] { openLink(17); });
    on(CheckBox1, &QCheckBox::toggled, [this] { checkBoxClick(1); });
    on(CheckBox2, &QCheckBox::toggled, [this] { checkBoxClick(2); });
    on(CheckBox3, &QCheckBox::toggled, [this] { checkBoxClick(3); });
    on(CheckBox4, &QCheckBox::toggled, [this] { checkBoxClick(4); });
    on(Timer1, &QTimer::timeout, [this] { Timer1Timer(); });
    // Enter in a size field is Ok.
    for (QLineEdit* size : {Edit2, Edit3, Edit4})
        connect(size, &QLineEdit::returnPressed, Button2, &QPushButton::click);
    on(Button5, &QPushButton::clicked, [this] { Button5Click(); });
    connectPicture();
    trackUnwrittenText();
}

void TForm1::trackUnwrittenText() {
    const auto edited = [this] { formEdited_ = true; };
    connect(Memo1, &QPlainTextEdit::textChanged, this, edited);
    for (QLineEdit* field : {VariantOtveta_1, VariantOtveta_2, VariantOtveta_3, VariantOtveta_4,
                             VariantOtveta_5, Edit1, Edit7, Edit8})
        connect(field, &QLineEdit::textChanged, this, edited);
}

bool TForm1::holdsUnwrittenText() const {
    if (!formEdited_)
        return false;
    if (!Memo1->document()->isEmpty())
        return true;
    for (const QLineEdit* field : {VariantOtveta_1, VariantOtveta_2, VariantOtveta_3,
                                   VariantOtveta_4, VariantOtveta_5, Edit1, Edit7, Edit8})
        if (!field->text().isEmpty())
            return true;
    return false;
}

void TForm1::markFormWritten() {
    formEdited_ = false;
}

void TForm1::setUnwrittenElsewhere(std::function<bool()> check) {
    unwrittenElsewhere_ = std::move(check);
}

bool TForm1::confirmLosingText(const kavo::Message<>& question) {
    if (!holdsUnwrittenText() && !(unwrittenElsewhere_ && unwrittenElsewhere_()))
        return true;
    return platform_.ask(this, caption(question), false);
}

void TForm1::inform(const QString& text) {
    platform_.information(this, text);
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (!closeConfirmed_ && !confirmLosingText(msg::shell::unwrittenClose)) {
        event->ignore();
        return;
    }
    event->accept();
    emit closed();
}

void TForm1::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        refreshMarks();
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // Centred on the first show; on later shows kept inside the screen where it was.
    kavo::app::fitToScreen(this, !centred_);
    centred_ = true;
}
