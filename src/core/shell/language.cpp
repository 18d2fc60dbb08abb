// SPDX-License-Identifier: MIT
#include "core/shell/language.hpp"
#include "core/common/files.hpp"

namespace kavo::app {

std::filesystem::path languageFile(const std::filesystem::path& programDir) {
    return programDir / "System_folder" / "Language" / "Language.txt";
}

std::filesystem::path toolkitFile(const std::filesystem::path& programDir, bool english) {
    return english ? programDir / "System_folder" / "Language" / "Toolkit.txt"
                   : programDir / "System_folder" / "file" / "Toolkit.txt";
}

bool isEnglish(std::string_view languageText) {
    return languageText.find(English) != std::string_view::npos;
}

StartFiles readStartFiles(const std::filesystem::path& programDir) {
    const bool english = isEnglish(readText(languageFile(programDir)));
    StartFiles files;
    files.Toolkit = readText(toolkitFile(programDir, english));
    if (english)
        files.Lang = English;
    return files;
}

void writeLanguage(const std::filesystem::path& programDir, bool english) {
    writePieces(languageFile(programDir), {english ? Text(English) : Text("Rus")});
}

} // namespace kavo::app
