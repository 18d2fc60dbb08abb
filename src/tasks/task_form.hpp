// SPDX-License-Identifier: MIT
#pragma once

#include "common/text.hpp"

#include <optional>
#include <vector>

namespace kavo::tasks {

// A list box: its items and its selected position (from 0), if any.
struct ListField {
    std::vector<Text> items;
    std::optional<int> selected;

    // The selected item's text; empty when nothing is selected.
    Text selectedText() const {
        return selected && *selected >= 0 && *selected < static_cast<int>(items.size())
                   ? items[*selected]
                   : Text();
    }
};

// The task form of the main window, one field per widget, named after it. All texts are
// Windows-1251 with CR LF line breaks.
struct TaskForm {
    ListField ListBox1; // task numbers "1" .. TaskTotal
    ListField ListBox2; // picture: "Yes", "No"
    ListField ListBox3; // fold the answers: "Yes", "No"
    Text Memo1;         // the condition
    Text VariantOtveta_1, VariantOtveta_2, VariantOtveta_3, VariantOtveta_4, VariantOtveta_5;
    Text Edit1; // the correct answer
    bool CheckBox1 = false, CheckBox2 = false, CheckBox3 = false; // remove C, D, E
    bool CheckBox4 = true;                                        // default task names
    Text Edit7, Edit8;                                            // Russian, English name
    Text Edit2, Edit3 = "0", Edit4 = "0";                         // sizes of parts A, B, C
    bool RadioButton1 = false, RadioButton2 = true;               // olympiad language
};

// "Yes" and "No" as the lists hold them at start.
TaskForm makeStartForm();

} // namespace kavo::tasks
