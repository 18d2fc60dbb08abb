// SPDX-License-Identifier: MIT
#pragma once

#include "core/common/codepage.hpp"
#include "core/tasks/task_form.hpp"
#include "support/test_support.hpp"

#include <string>
#include <string_view>

namespace kavo::test {

// A form that passes every check: task 1 of five, no parts B and C, single choice.
inline tasks::TaskForm validForm() {
    auto form = tasks::makeStartForm();
    form.ListBox1.items = {"1", "2", "3", "4", "5"};
    form.ListBox1.selected = 0;
    form.ListBox2.selected = 1;
    form.ListBox3.selected = 1;
    form.Memo1 = "Condition\r\nof the task";
    form.VariantOtveta_1 = "Alpha";
    form.VariantOtveta_2 = "Bravo";
    form.VariantOtveta_3 = "Charlie";
    form.VariantOtveta_4 = "Delta";
    form.VariantOtveta_5 = "Echo";
    form.Edit1 = "a";
    form.Edit2 = "5";
    return form;
}

} // namespace kavo::test
