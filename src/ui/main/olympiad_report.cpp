// SPDX-License-Identifier: MIT
#include "ui/main/olympiad_report.hpp"

#include "core/common/messages.hpp"
#include "ui/common/screen_fit.hpp"
#include "ui/common/text_bridge.hpp"
#include "ui/common/widget_help.hpp"

#include <QCheckBox>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QVBoxLayout>
#include <tuple>

using namespace Qt::Literals::StringLiterals;
namespace msg = kavo::msg::olympiadReport;

namespace {

template <typename W> W* made(QWidget* parent, const char* name) {
    auto* widget = new W(parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

constexpr int LineRole = Qt::UserRole;
constexpr int ColumnRole = Qt::UserRole + 1;
constexpr int FolderRole = Qt::UserRole + 2;

// The designed size; a smaller screen gets its available area.
constexpr QSize DesignSize(940, 600);

// The index in text of a line and a column (both from 1, the column in characters as the
// file reader counts them): a character outside the BMP is two UTF-16 units.
qsizetype indexOf(const QString& text, int line, int column) {
    qsizetype at = 0;
    for (int l = 1; l < line && at < text.size(); ++l) {
        const qsizetype next = text.indexOf(u'\n', at);
        if (next < 0)
            return text.size();
        at = next + 1;
    }
    for (int c = 1; c < column && at < text.size() && text[at] != u'\n'; ++c)
        at += text[at].isHighSurrogate() && at + 1 < text.size() ? 2 : 1;
    return at;
}

} // namespace

TOlympiadReport::TOlympiadReport(kavo::Lang lang, QWidget* parent) : QDialog(parent), lang_(lang) {
    setObjectName(u"OlympiadReport"_s);
    setSizeGripEnabled(true);

    Summary = made<QLabel>(this, "Summary");
    Summary->setTextFormat(Qt::PlainText);
    Summary->setWordWrap(true);
    Label1 = made<QLabel>(this, "Label1");
    Label2 = made<QLabel>(this, "Label2");
    Label3 = made<QLabel>(this, "Label3");
    Label4 = made<QLabel>(this, "Label4");
    Label5 = made<QLabel>(this, "Label5");
    Errors = made<QListWidget>(this, "Errors");
    Warnings = made<QListWidget>(this, "Warnings");
    LeftOut = made<QListWidget>(this, "LeftOut");
    Numbers = made<QListWidget>(this, "Numbers");
    FirstAnswer = made<QCheckBox>(this, "FirstAnswer");
    Shuffle = made<QCheckBox>(this, "Shuffle");
    Source = made<QPlainTextEdit>(this, "Source");
    Source->setReadOnly(true);
    Source->setLineWrapMode(QPlainTextEdit::NoWrap);
    Source->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // Columns line up in a fixed font, of the size of the window's own.
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(font().pointSizeF());
    Source->setFont(fixed);
    Write = made<QPushButton>(this, "Write");
    Close = made<QPushButton>(this, "Close");
    Write->setAutoDefault(false);
    Close->setDefault(true);

    const auto t = [lang](const kavo::Message<>& message) {
        return kavo::app::text(message, lang);
    };
    Label3->setText(t(msg::source));
    Write->setText(t(msg::Write));
    Close->setText(t(msg::Close));
    FirstAnswer->setText(t(msg::FirstAnswer));
    Shuffle->setText(t(msg::Shuffle));
    for (QListWidget* list : {Errors, Warnings, LeftOut, Numbers}) {
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setWordWrap(true);
        list->setTextElideMode(Qt::ElideNone);
    }
    Label1->setBuddy(Errors);
    Label2->setBuddy(Warnings);
    Label3->setBuddy(Source);
    Label4->setBuddy(LeftOut);
    Label5->setBuddy(Numbers);
    kavo::app::describe(Source, t(msg::tip::source));
    kavo::app::describe(Write, t(msg::tip::Write));
    kavo::app::describe(Close, t(msg::tip::Close));
    kavo::app::describe(FirstAnswer, t(msg::tip::FirstAnswer));
    kavo::app::describe(Shuffle, t(msg::tip::Shuffle));
    kavo::app::nameByCaptions(this);

    auto* lists = new QVBoxLayout;
    lists->addWidget(Label1);
    lists->addWidget(Errors, 1);
    lists->addWidget(Label2);
    lists->addWidget(Warnings, 1);
    lists->addWidget(Label4);
    lists->addWidget(LeftOut, 1);
    lists->addWidget(Label5);
    lists->addWidget(Numbers, 1);
    // The file's side as one widget: hidden, it leaves the whole width to the lists.
    sourcePane_ = made<QWidget>(this, "SourcePane");
    auto* text = new QVBoxLayout(sourcePane_);
    text->setContentsMargins(0, 0, 0, 0);
    text->addWidget(Label3);
    text->addWidget(Source, 1);
    auto* middle = new QHBoxLayout;
    middle->addLayout(lists, 1);
    middle->addWidget(sourcePane_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(FirstAnswer);
    buttons->addWidget(Shuffle);
    buttons->addStretch(1);
    buttons->addWidget(Write);
    buttons->addWidget(Close);
    auto* whole = new QVBoxLayout(this);
    whole->addWidget(Summary);
    whole->addLayout(middle, 1);
    whole->addLayout(buttons);

    connect(Write, &QPushButton::clicked, this, &TOlympiadReport::writeRequested);
    connect(Close, &QPushButton::clicked, this, &QDialog::close);
    for (QCheckBox* box : {FirstAnswer, Shuffle})
        connect(box, &QCheckBox::toggled, this,
                [this] { emit choicesChanged(FirstAnswer->isChecked(), Shuffle->isChecked()); });
    for (QListWidget* list : {Errors, Warnings, LeftOut, Numbers})
        connect(list, &QListWidget::itemSelectionChanged, this, [this, list] {
            const auto chosen = list->selectedItems();
            if (!chosen.isEmpty())
                showPlace(chosen.front());
        });
}

TOlympiadReport::Report
TOlympiadReport::importReport(const std::vector<kavo::olympiad::Problem>& problems,
                              kavo::Lang lang) {
    Report report;
    Section leftOut;
    for (const auto& problem : problems) {
        const Line line{
            kavo::app::text(msg::problem, lang,
                            {std::to_string(problem.pos.line), std::to_string(problem.pos.column),
                             problem.note.text(lang)}),
            problem.pos,
            {}};
        (problem.severity == kavo::olympiad::Severity::Error     ? report.first
         : problem.severity == kavo::olympiad::Severity::LeftOut ? leftOut
                                                                 : report.second)
            .lines.push_back(line);
    }
    const auto count = [lang](const kavo::Message<1>& caption, std::size_t n) {
        return kavo::app::text(caption, lang, {std::to_string(n)});
    };
    report.first.caption = count(msg::errors, report.first.lines.size());
    report.second.caption = count(msg::warnings, report.second.lines.size());
    report.first.tip = report.second.tip = kavo::app::text(msg::tip::list, lang);
    if (!leftOut.lines.empty()) {
        leftOut.caption = count(msg::importLeftOut, leftOut.lines.size());
        leftOut.tip = report.first.tip;
        report.leftOut = std::move(leftOut);
    }
    return report;
}

TOlympiadReport::Report TOlympiadReport::checkReport(const kavo::olympiad::TreeCheck& check,
                                                     const std::filesystem::path& tree,
                                                     kavo::Lang lang) {
    Report report;
    for (const auto& row : check.rows)
        (row.severity == kavo::olympiad::Severity::Error ? report.first : report.second)
            .lines.push_back({QString::fromStdString(kavo::olympiad::rowText(row, lang)),
                              std::nullopt, kavo::app::fromPath(row.folder)});
    const auto count = [lang](const kavo::Message<1>& caption, std::size_t n) {
        return kavo::app::text(caption, lang, {std::to_string(n)});
    };
    report.first.caption = count(msg::errors, report.first.lines.size());
    report.second.caption = count(msg::warnings, report.second.lines.size());
    report.first.tip = report.second.tip = kavo::app::text(msg::tip::checkList, lang);
    report.title = kavo::app::text(kavo::msg::treeCheck::title, lang,
                                   {kavo::app::fromPath(tree).toStdString()});
    report.summary = kavo::app::text(
        kavo::msg::treeCheck::summary, lang,
        {std::to_string(report.first.lines.size()), std::to_string(report.second.lines.size()),
         std::to_string(check.folders), kavo::app::fromPath(tree).toStdString()});
    return report;
}

void TOlympiadReport::fill(QLabel* label, QListWidget* list, const Section& section) {
    label->setText(section.caption);
    list->clear();
    for (const Line& line : section.lines) {
        auto* item = new QListWidgetItem(line.text, list);
        if (line.pos) {
            item->setData(LineRole, line.pos->line);
            item->setData(ColumnRole, line.pos->column);
        }
        if (!line.folder.isEmpty())
            item->setData(FolderRole, line.folder);
    }
    kavo::app::describe(list, section.tip, kavo::app::shownCaption(section.caption));
}

void TOlympiadReport::showReport(const Report& report) {
    setWindowTitle(report.title);
    Summary->setText(report.summary);
    fill(Label1, Errors, report.first);
    fill(Label2, Warnings, report.second);
    fill(Label4, LeftOut, report.leftOut.value_or(Section{}));
    fill(Label5, Numbers, report.numbers.value_or(Section{}));
    for (auto [label, list, shown] : {std::tuple{Label4, LeftOut, report.leftOut.has_value()},
                                      std::tuple{Label5, Numbers, report.numbers.has_value()}}) {
        label->setVisible(shown);
        list->setVisible(shown);
    }
    for (auto [box, given] :
         {std::pair{FirstAnswer, report.firstAnswer}, std::pair{Shuffle, report.shuffle}}) {
        const QSignalBlocker quiet(box);
        box->setVisible(given.has_value());
        box->setChecked(given.value_or(false));
    }
    Write->setText(report.writeCaption.isEmpty() ? kavo::app::text(msg::Write, lang_)
                                                 : report.writeCaption);
    kavo::app::describe(
        Write, kavo::app::text(report.writeCaption.isEmpty() ? msg::tip::Write : msg::tip::WriteFit,
                               lang_));
    Source->setExtraSelections({});
    sourceText_ = report.source.value_or(QString());
    Source->setPlainText(sourceText_);
    sourcePane_->setVisible(report.source.has_value());
    Write->setVisible(report.canWrite);
    Write->setEnabled(report.canWrite);
    const bool first = !isVisible();
    show();
    raise();
    activateWindow();
    if (first)
        fitOnScreen();
    (Errors->count() > 0    ? Errors
     : LeftOut->count() > 0 ? LeftOut
                            : Warnings)
        ->setFocus(Qt::ActiveWindowFocusReason);
}

void TOlympiadReport::showPlace(QListWidgetItem* item) {
    if (const QVariant folder = item->data(FolderRole); folder.isValid())
        emit folderSelected(folder.toString());
    const QVariant line = item->data(LineRole);
    if (!line.isValid() || sourcePane_->isHidden())
        return;
    const qsizetype at = indexOf(sourceText_, line.toInt(), item->data(ColumnRole).toInt());
    QTextCursor cursor(Source->document());
    cursor.setPosition(
        static_cast<int>(std::min<qsizetype>(at, Source->document()->characterCount() - 1)));
    Source->setTextCursor(cursor);
    Source->centerCursor();
    // The whole line stands out, and the character at the column more.
    QTextEdit::ExtraSelection wholeLine;
    wholeLine.cursor = cursor;
    wholeLine.format.setBackground(palette().color(QPalette::Highlight).lighter(170));
    wholeLine.format.setProperty(QTextFormat::FullWidthSelection, true);
    QTextEdit::ExtraSelection place;
    place.cursor = cursor;
    place.cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
    place.format.setBackground(palette().color(QPalette::Highlight));
    place.format.setForeground(palette().color(QPalette::HighlightedText));
    Source->setExtraSelections({wholeLine, place});
}

void TOlympiadReport::fitOnScreen() {
    const QScreen* screen =
        parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(QPoint(), DesignSize);
    const QSize frame = frameGeometry().size() - geometry().size();
    resize(DesignSize.boundedTo(area.size() - frame));
    const QPoint centre = parentWidget() ? parentWidget()->frameGeometry().center() : area.center();
    kavo::app::keepInside(this, centre - QPoint(width() / 2, height() / 2));
}
