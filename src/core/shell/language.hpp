// SPDX-License-Identifier: MIT
#pragma once
// The interface language file and the start-up files of the main window.

#include "core/common/lang.hpp"
#include "core/common/text.hpp"

#include <filesystem>

namespace kavo::app {

std::filesystem::path languageFile(const std::filesystem::path& programDir);
// The tag reminder shown in the main window, in the interface language.
std::filesystem::path toolkitFile(const std::filesystem::path& programDir, bool english);

// The interface language of the language file; the one reader of it for every window.
// Throws Error::cannotOpen.
Lang readLanguage(const std::filesystem::path& programDir);

// What the main window reads while it is built. Throws Error::cannotOpen.
struct StartFiles {
    Lang lang = Lang::Russian;
    Text Toolkit;
};
StartFiles readStartFiles(const std::filesystem::path& programDir);

// Replaces the language file by "En" or "Rus" and CR LF, once the files a start in that
// language reads (its tag reminder, the Edits templates) have been read: a switch never
// leaves a program that cannot start. Throws Error::cannotOpen or Error::cannotCreate.
void writeLanguage(const std::filesystem::path& programDir, bool english);

} // namespace kavo::app
