// SPDX-License-Identifier: MIT
// The marks of the number lists: which numbers hold a task, and of which kind; the part
// sizes a tree shows; the olympiad overview.
#include "core/common/messages.hpp"
#include "core/render/task_state.hpp"
#include "core/review/part_sizes.hpp"
#include "ui/common/guard.hpp"
#include "ui/common/text_bridge.hpp"
#include "ui/main/overview.hpp"
#include "ui/main/tform1.hpp"

#include <QLineEdit>
#include <QListWidget>
#include <QStatusBar>

namespace olympiad = kavo::olympiad;
namespace render = kavo::render;

void TForm1::refreshMarks() {
    if (ListBox1->count() == 0 && ListBox4->count() == 0)
        return;
    std::vector<render::FolderState> states;
    try {
        const auto templates = kavo::render::TemplateSet::load(programDir_ / "System_folder");
        states = render::numberStates(templates, kavo::review::olympiadOf(sizes_, outputDir_),
                                      lang_, &states_);
    } catch (const std::exception& error) {
        // Said in the status bar, not in a box: a box would come back at every activation.
        statusBar()->showMessage(kavo::app::text(
            kavo::msg::marks::failed, lang_, {kavo::app::reportText(error, lang_).toStdString()}));
    }
    for (QListWidget* list : {ListBox1, ListBox4}) {
        for (int row = 0; row < list->count(); ++row) {
            QListWidgetItem* item = list->item(row);
            if (static_cast<std::size_t>(row) >= states.size()) {
                item->setIcon({});
                item->setToolTip({});
                item->setData(Qt::AccessibleDescriptionRole, {});
                continue;
            }
            const auto& state = states[static_cast<std::size_t>(row)];
            item->setIcon(kavo::app::markIcon(state));
            item->setToolTip(
                QString::fromStdString(render::markTip(item->text().toStdString(), state, lang_)));
            item->setData(Qt::AccessibleDescriptionRole,
                          QString::fromStdString(render::markName(state, lang_)));
        }
    }
}

std::optional<int> TForm1::nextUnwrittenRow(int afterRow) const {
    for (int row = std::max(afterRow + 1, 0); row < ListBox1->count(); ++row) {
        const auto folder = kavo::review::taskFolder(sizes_, outputDir_, row + 1);
        if (folder && render::holdsNoTask(*folder))
            return row;
    }
    return std::nullopt;
}

void TForm1::followTreeSizes() {
    const kavo::review::TreeSizes tree = kavo::review::sizesForTree(outputDir_, lastOk_);
    if (tree.fields) {
        const std::pair<QLineEdit*, int> fields[] = {
            {Edit2, tree.fields->a}, {Edit3, tree.fields->b}, {Edit4, tree.fields->c}};
        for (const auto& [field, size] : fields)
            field->setText(QString::number(size));
    }
    const std::int64_t numbers = tree.keepLists && lastOk_ ? lastOk_->total() : 0;
    if (ListBox1->count() != numbers)
        fillNumberLists(numbers);
    if (tree.found)
        statusBar()->showMessage(
            kavo::app::text(kavo::msg::marks::sizesFound, lang_,
                            {std::to_string(tree.fields->a), std::to_string(tree.fields->b),
                             std::to_string(tree.fields->c)}));
}

void TForm1::showOverview() {
    if (!overview_)
        overview_ = new TOverview(*this);
    overview_->refresh();
    overview_->show();
    overview_->raise();
    overview_->activateWindow();
}
