// SPDX-License-Identifier: MIT
#pragma once
// The sample task the write benchmarks share.
#include "core/edits/edits_task.hpp"

#include <string>

namespace kavo::bench {

inline const std::string Condition = "<p>Which of these is a prime number?</p>";

// An Edits task of four sums in folder 1.
inline kavo::edits::EditsForm editsForm() {
    kavo::edits::EditsForm form;
    form.Memo1 = Condition;
    form.Memo2 = "2 + 2";
    form.Memo3 = "3 + 3";
    form.Memo4 = "4 + 4";
    form.Memo5 = "5 + 5";
    form.Edit1 = "4";
    form.Edit2 = "6";
    form.Edit3 = "8";
    form.Edit4 = "10";
    form.Edit5 = "1";
    form.Edit6 = "Sums";
    return form;
}

} // namespace kavo::bench
