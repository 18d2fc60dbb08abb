// SPDX-License-Identifier: MIT
#pragma once
// The author line of the last Save, read back for the author dialog.

#include "core/common/text.hpp"

#include <filesystem>
#include <optional>

namespace kavo::auth {

// What lies between Author_1.txt and Author_end.txt in the first description header, with
// the XML escapes of the Save undone. None when the header was not built from the current
// templates or a file cannot be read.
std::optional<Text> savedAuthorLine(const std::filesystem::path& programDir);

} // namespace kavo::auth
