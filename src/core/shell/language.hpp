// SPDX-License-Identifier: MIT
#pragma once
// The interface language file and the start-up files of the main window.

#include "core/common/text.hpp"

#include <filesystem>

namespace kavo::app {

// "En" for English; every message of the main window chooses its English text by it.
inline constexpr std::string_view English = "En";

std::filesystem::path languageFile(const std::filesystem::path& programDir);
// The tag reminder shown in the main window, in the interface language.
std::filesystem::path toolkitFile(const std::filesystem::path& programDir, bool english);

// The interface is English when the language file's text holds "En" anywhere.
bool isEnglish(std::string_view languageText);

// What the main window reads while it is built. Throws Error::cannotOpen.
struct StartFiles {
    Text Lang; // "En" or empty
    Text Toolkit;
};
StartFiles readStartFiles(const std::filesystem::path& programDir);

// Replaces the language file by "En" or "Rus" and CR LF. Throws Error::cannotCreate.
void writeLanguage(const std::filesystem::path& programDir, bool english);

} // namespace kavo::app
