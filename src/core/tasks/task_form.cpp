// SPDX-License-Identifier: MIT
#include "core/tasks/task_form.hpp"

#include <algorithm>

namespace kavo::tasks {

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

TaskForm makeStartForm() {
    TaskForm form;
    form.ListBox2.items = {"Yes", "No"};
    form.ListBox3.items = {"Yes", "No"};
    return form;
}

void resetForm(TaskForm& form) {
    auto& list = form.ListBox1;
    if (list.selected && *list.selected + 1 < static_cast<int>(list.items.size()))
        list.selected = *list.selected + 1;
    else
        list.selected.reset();
    form.ListBox2.selected = 1;
    form.ListBox3.selected = 1;
    form.CheckBox1 = form.CheckBox2 = form.CheckBox3 = false;
    for (Text* text :
         {&form.Memo1, &form.VariantOtveta_1, &form.VariantOtveta_2, &form.VariantOtveta_3,
          &form.VariantOtveta_4, &form.VariantOtveta_5, &form.Edit7, &form.Edit8, &form.Edit1})
        text->clear();
}

void emptyRemovedVariants(TaskForm& form) {
    if (form.CheckBox1)
        form.VariantOtveta_3.clear();
    if (form.CheckBox2)
        form.VariantOtveta_4.clear();
    if (form.CheckBox3)
        form.VariantOtveta_5.clear();
}

} // namespace kavo::tasks
