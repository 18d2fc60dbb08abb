// SPDX-License-Identifier: MIT
#include "ui/main/overview.hpp"

#include "core/common/messages.hpp"
#include "core/review/part_sizes.hpp"
#include "core/review/preview.hpp"
#include "ui/common/platform.hpp"
#include "ui/common/screen_fit.hpp"
#include "ui/common/text_bridge.hpp"
#include "ui/common/widget_help.hpp"
#include "ui/main/tform1.hpp"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

namespace fs = std::filesystem;
namespace msg = kavo::msg;
namespace olympiad = kavo::olympiad;
namespace render = kavo::render;
using namespace Qt::Literals::StringLiterals;

namespace kavo::app {

namespace {

enum class Mark { Nothing, Written, Edits, Unreadable };

// Drawn, not taken from the style, so that every platform shows the same marks; each has its
// own shape as well as its own colour.
QIcon drawMark(Mark mark) {
    constexpr int Size = 32;
    QPixmap pixmap(Size, Size);
    pixmap.fill(Qt::transparent);
    QPainter paint(&pixmap);
    paint.setRenderHint(QPainter::Antialiasing);
    const QRectF box(3, 3, Size - 6, Size - 6);
    const auto sign = [&](const QString& text) {
        QFont font = paint.font();
        font.setBold(true);
        font.setPixelSize(20);
        paint.setFont(font);
        paint.setPen(Qt::white);
        paint.drawText(box, Qt::AlignCenter, text);
    };
    switch (mark) {
    case Mark::Nothing:
        paint.setPen(QPen(QColor(150, 150, 150), 2.5));
        paint.drawEllipse(box.adjusted(4, 4, -4, -4));
        break;
    case Mark::Written:
        paint.setPen(Qt::NoPen);
        paint.setBrush(QColor(0, 128, 0));
        paint.drawEllipse(box);
        paint.setPen(QPen(Qt::white, 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        paint.drawPolyline(QPolygonF({{9, 16.5}, {14, 21.5}, {23, 11}}));
        break;
    case Mark::Edits:
        paint.setPen(Qt::NoPen);
        paint.setBrush(QColor(0, 90, 180));
        paint.drawRoundedRect(box, 5, 5);
        sign(u"E"_s);
        break;
    case Mark::Unreadable:
        paint.setPen(Qt::NoPen);
        paint.setBrush(QColor(200, 30, 30));
        paint.drawPolygon(QPolygonF({{16, 2}, {30, 29}, {2, 29}}));
        paint.setPen(QPen(Qt::white, 3.5, Qt::SolidLine, Qt::RoundCap));
        paint.drawLine(QPointF(16, 11), QPointF(16, 20));
        paint.drawPoint(QPointF(16, 25));
        break;
    }
    return QIcon(pixmap);
}

} // namespace

QIcon markIcon(const render::FolderState& state) {
    static const QIcon marks[] = {drawMark(Mark::Nothing), drawMark(Mark::Written),
                                  drawMark(Mark::Edits), drawMark(Mark::Unreadable)};
    switch (state.status) {
    case render::FolderStatus::Empty:
        return marks[0];
    case render::FolderStatus::Written:
        return marks[state.kind == model::TaskKind::Edits ? 2 : 1];
    case render::FolderStatus::Unreadable:
        return marks[3];
    }
    return {};
}

} // namespace kavo::app

namespace {

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    auto* widget = new QPushButton(caption, parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setAutoDefault(false);
    return widget;
}

// Whether the code review can open the row: a numbered folder of a part, or of the tree
// itself.
bool numbered(const olympiad::OverviewRow& row) {
    return row.number && row.place == std::to_string(*row.number);
}

} // namespace

TOverview::TOverview(TForm1& form1)
    : QWidget(&form1, Qt::Window), form1_(form1), lang_(form1.lang()),
      guard_(form1.platform(), this, form1.lang()) {
    namespace m = msg::overview;
    const auto t = [this](const kavo::Message<>& message) {
        return kavo::app::text(message, lang_);
    };
    setObjectName(u"Overview"_s);
    setWindowTitle(t(m::title));
    setAttribute(Qt::WA_QuitOnClose, false);

    Label1 = new QLabel(t(m::Label1), this);
    Label1->setObjectName(u"Label1"_s);
    Table1 = new QTableWidget(0, 8, this);
    Table1->setObjectName(u"Table1"_s);
    Table1->setHorizontalHeaderLabels({t(m::columnPlace), t(m::columnPart), t(m::columnKind),
                                       t(m::columnNames), t(m::columnAnswer), t(m::columnPicture),
                                       t(m::columnReads), t(m::columnCondition)});
    Table1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table1->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table1->setSelectionMode(QAbstractItemView::SingleSelection);
    Table1->setTabKeyNavigation(false);
    Table1->setWordWrap(false);
    Table1->verticalHeader()->hide();
    Table1->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    Table1->horizontalHeader()->setStretchLastSection(true);
    Label1->setBuddy(Table1);
    Label2 = new QLabel(this);
    Label2->setObjectName(u"Label2"_s);
    Label2->setTextFormat(Qt::PlainText);

    ButtonForm = button(this, "ButtonForm", t(m::ButtonForm));
    ButtonReview = button(this, "ButtonReview", t(m::ButtonReview));
    ButtonPreview = button(this, "ButtonPreview", t(m::ButtonPreview));
    ButtonRefresh = button(this, "ButtonRefresh", t(m::ButtonRefresh));
    ButtonCheck = button(this, "ButtonCheck", t(m::ButtonCheck));
    ButtonClose = button(this, "ButtonClose", t(m::ButtonClose));

    // The buttons of the selected task on the left, those of the whole tree on the right.
    auto* taskButtons = new QHBoxLayout;
    for (QPushButton* b : {ButtonForm, ButtonReview, ButtonPreview})
        taskButtons->addWidget(b);
    taskButtons->addStretch();
    auto* treeButtons = new QHBoxLayout;
    treeButtons->addStretch();
    for (QPushButton* b : {ButtonCheck, ButtonRefresh, ButtonClose})
        treeButtons->addWidget(b);
    buttons_ = new QBoxLayout(QBoxLayout::LeftToRight);
    buttons_->addLayout(taskButtons);
    buttons_->addLayout(treeButtons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Table1, 1);
    layout->addWidget(Label2);
    layout->addLayout(buttons_);

    namespace tip = m::tip;
    kavo::app::describe(Table1, t(tip::Table1));
    kavo::app::describe(ButtonForm, t(tip::ButtonForm));
    kavo::app::describe(ButtonReview, t(tip::ButtonReview));
    kavo::app::describe(ButtonPreview, t(tip::ButtonPreview));
    kavo::app::describe(ButtonRefresh, t(tip::ButtonRefresh));
    kavo::app::describe(ButtonCheck, t(tip::ButtonCheck));
    kavo::app::describe(ButtonClose, t(tip::ButtonClose));
    kavo::app::nameByCaptions(this);
    kavo::app::chainFocus(
        {Table1, ButtonForm, ButtonReview, ButtonPreview, ButtonCheck, ButtonRefresh, ButtonClose});

    const auto on = [this](QPushButton* b, std::function<void()> handler) {
        guard_.connect(b, &QPushButton::clicked, std::move(handler));
    };
    on(ButtonForm, [this] { openInForm(); });
    on(ButtonReview, [this] { openInReview(); });
    on(ButtonPreview, [this] { preview(); });
    on(ButtonRefresh, [this] { refresh(); });
    on(ButtonCheck, [this] { form1_.checkOlympiad(); });
    connect(ButtonClose, &QPushButton::clicked, this, &QWidget::close);
    guard_.connect(Table1, &QTableWidget::activated, [this] { openInForm(); });
    connect(Table1, &QTableWidget::itemSelectionChanged, this, &TOverview::selectionChanged);
    selectionChanged();
}

void TOverview::refresh() {
    const auto* before = selected();
    const fs::path keep = before ? before->folder : fs::path();
    const auto templates = kavo::render::TemplateSet::load(form1_.ProgramDir() / "System_folder");
    rows_ = olympiad::overviewRows(templates, form1_.OutputDir(), lang_, &form1_.folderStates());

    Table1->clearContents();
    Table1->setRowCount(static_cast<int>(rows_.size()));
    int unreadable = 0;
    for (int r = 0; r < static_cast<int>(rows_.size()); ++r) {
        const auto& row = rows_[static_cast<std::size_t>(r)];
        unreadable += row.state.status == render::FolderStatus::Unreadable;
        // A number held twice or outside the part sizes: red, with the reason where the row
        // says whether it reads back.
        const std::string reads =
            row.problem.empty() ? row.readsBack : row.readsBack + " \u2014 " + row.problem;
        static const std::string none;
        const std::string* cells[] = {
            &row.place,  &row.part,    &row.kind, &row.names,
            &row.answer, &row.picture, &reads,    row.condition ? row.condition.get() : &none};
        for (int c = 0; c < 8; ++c) {
            const QString text = QString::fromStdString(*cells[c]);
            auto* item = new QTableWidgetItem(text);
            item->setToolTip(row.problem.empty() ? text : QString::fromStdString(row.problem));
            if (!row.problem.empty())
                item->setForeground(QColor(200, 30, 30));
            Table1->setItem(r, c, item);
        }
        render::FolderState marked = row.state;
        if (!row.problem.empty())
            marked.status = render::FolderStatus::Unreadable;
        Table1->item(r, 0)->setIcon(kavo::app::markIcon(marked));
        Table1->item(r, 0)->setData(Qt::AccessibleDescriptionRole,
                                    QString::fromStdString(row.kind));
        if (row.folder == keep)
            Table1->selectRow(r);
    }
    Label2->setText(kavo::app::text(msg::overview::summary, lang_,
                                    {kavo::app::fromPath(form1_.OutputDir()).toStdString(),
                                     std::to_string(rows_.size()), std::to_string(unreadable)}));
    if (!selected() && !rows_.empty())
        Table1->selectRow(0);
    selectionChanged();
}

void TOverview::selectFolder(const fs::path& folder) {
    for (std::size_t r = 0; r < rows_.size(); ++r)
        if (rows_[r].folder == folder) {
            Table1->selectRow(static_cast<int>(r));
            Table1->scrollToItem(Table1->item(static_cast<int>(r), 0));
            return;
        }
}

const olympiad::OverviewRow* TOverview::selected() const {
    const auto chosen = Table1->selectionModel()->selectedRows();
    if (chosen.isEmpty() || chosen.front().row() >= static_cast<int>(rows_.size()))
        return nullptr;
    return &rows_[static_cast<std::size_t>(chosen.front().row())];
}

void TOverview::selectionChanged() {
    const auto* row = selected();
    for (QPushButton* b : {ButtonForm, ButtonPreview})
        b->setEnabled(row != nullptr);
    ButtonReview->setEnabled(row && numbered(*row));
}

void TOverview::openInForm() {
    const auto* row = selected();
    if (!row)
        return inform(kavo::app::text(msg::overview::selectRow, lang_));
    const fs::path folder = row->folder;
    form1_.raise();
    form1_.activateWindow();
    form1_.reopenTask(folder);
}

void TOverview::openInReview() {
    const auto* row = selected();
    if (!row)
        return inform(kavo::app::text(msg::overview::selectRow, lang_));
    const std::string where = row->folder.generic_string();
    if (!numbered(*row))
        return inform(kavo::app::text(msg::overview::notNumbered, lang_, {where}));
    const int number = *row->number;
    const auto folder = kavo::review::taskFolder(form1_.partSizes(), form1_.OutputDir(), number);
    if (!folder || *folder != form1_.OutputDir() / row->folder)
        return inform(
            kavo::app::text(msg::overview::notInLists, lang_, {std::to_string(number), where}));
    // Switching the layout empties the review fields: only when the form layout is shown.
    if (form1_.ListBox4->isHidden())
        form1_.N1Click();
    kavo::app::selectRow(form1_.ListBox4, number - 1);
    form1_.raise();
    form1_.activateWindow();
    form1_.Button8Click();
}

void TOverview::preview() {
    const auto* row = selected();
    if (!row)
        return inform(kavo::app::text(msg::overview::selectRow, lang_));
    const fs::path folder = form1_.OutputDir() / row->folder;
    const auto result = kavo::review::previewTask(
        {lang_, form1_.ProgramDir(), 0, 1, [folder](std::int64_t) { return folder; }});
    if (!result.url.empty())
        form1_.platform().openUrl(QString::fromStdString(result.url));
    if (!result.message.empty())
        inform(kavo::app::fromText(result.message));
}

void TOverview::inform(const QString& text) {
    form1_.platform().information(this, text);
}

void TOverview::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

void TOverview::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (placed_)
        return kavo::app::keepInside(this, frameGeometry().topLeft());
    // First shown over the main window, as large as the table needs and the screen allows;
    // a screen too narrow for the buttons in one row takes them in two.
    const QRect available = screen() ? screen()->availableGeometry() : QRect();
    QSize size(860, 460);
    if (!available.isEmpty()) {
        const QSize room = available.size().shrunkBy(kavo::app::frameOf(this));
        if (layout()->minimumSize().width() > room.width()) {
            buttons_->setDirection(QBoxLayout::TopToBottom);
            layout()->activate();
        }
        size = size.boundedTo(room - QSize(24, 48));
    }
    resize(size);
    kavo::app::keepInside(this, form1_.frameGeometry().topLeft() + QPoint(24, 48));
    placed_ = true;
}
