// SPDX-License-Identifier: MIT
// The marks of the number lists: which numbers hold a task, and of which kind.
#include "ui/main/tform1.hpp"

#include <QListWidget>

void TForm1::refreshMarks() {}

std::optional<int> TForm1::nextUnwrittenRow(int afterRow) const {
    if (afterRow + 1 < ListBox1->count())
        return afterRow + 1;
    return std::nullopt;
}
