// SPDX-License-Identifier: MIT
// A written task opened back into the task form or the Edits builder.
#include "ui/main/tform1.hpp"

void TForm1::reopenTask(const std::filesystem::path&) {}
