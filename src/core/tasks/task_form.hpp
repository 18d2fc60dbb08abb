// SPDX-License-Identifier: MIT
#pragma once

#include "core/common/text.hpp"

#include <optional>
#include <string_view>
#include <vector>

namespace kavo::tasks {

// A list box: its items and its selected position (from 0), if any.
struct ListField {
    std::vector<Text> items;
    std::optional<int> selected;

    // A selection that names one of the items.
    bool hasSelection() const {
        return selected && *selected >= 0 && *selected < static_cast<int>(items.size());
    }
    // The selected item's text; empty when nothing is selected.
    Text selectedText() const { return hasSelection() ? items[*selected] : Text(); }
};

// The task form of the main window, one field per widget, named after it. All texts are
// Windows-1251 with CR LF line breaks.
struct TaskForm {
    ListField ListBox1; // task numbers "1" .. TaskTotal
    ListField ListBox2; // picture: "Yes", "No"
    ListField ListBox3; // fold the answers: "Yes", "No"
    Text Memo1;         // the condition
    Text VariantOtveta_1, VariantOtveta_2, VariantOtveta_3, VariantOtveta_4, VariantOtveta_5;
    Text Edit1;                                                   // the correct answer
    bool CheckBox1 = false, CheckBox2 = false, CheckBox3 = false; // remove C, D, E
    bool CheckBox4 = true;                                        // default task names
    Text Edit7, Edit8;                                            // Russian, English name
    Text Edit2, Edit3 = "0", Edit4 = "0";                         // sizes of parts A, B, C
    bool RadioButton1 = false, RadioButton2 = true;               // olympiad language
};

// "Yes" and "No" as the lists hold them at start.
TaskForm makeStartForm();

// After a written task: the next task number selected (none past the last), "No" for the
// picture and the fold, the removal flags cleared, the condition, variants, names and
// answer emptied. The part sizes, CheckBox4 and the olympiad language stay.
void resetForm(TaskForm& form);

// Empties the variants that CheckBox1 to CheckBox3 remove.
void emptyRemovedVariants(TaskForm& form);

// Compares the list answers "Yes" and "No", ignoring the case of Latin letters.
bool sameIgnoringCase(std::string_view a, std::string_view b);

} // namespace kavo::tasks
