// SPDX-License-Identifier: MIT
#include "core/shell/language.hpp"

#include "core/common/files.hpp"
#include "core/common/tree_lock.hpp"
#include "core/render/render.hpp"

namespace kavo::app {

std::filesystem::path languageFile(const std::filesystem::path& programDir) {
    return programDir / "System_folder" / "Language" / "Language.txt";
}

std::filesystem::path toolkitFile(const std::filesystem::path& programDir, bool english) {
    return english ? programDir / "System_folder" / "Language" / "Toolkit.txt"
                   : programDir / "System_folder" / "file" / "Toolkit.txt";
}

Lang readLanguage(const std::filesystem::path& programDir) {
    return langOfFile(readText(languageFile(programDir)));
}

StartFiles readStartFiles(const std::filesystem::path& programDir) {
    StartFiles files;
    files.lang = readLanguage(programDir);
    files.Toolkit = readText(toolkitFile(programDir, files.lang == Lang::English));
    return files;
}

void writeLanguage(const std::filesystem::path& programDir, bool english) {
    readText(toolkitFile(programDir, english));
    readText(toolkitFile(programDir, false));
    render::readEditsTemplates(programDir / "System_folder");
    const TreeLock system(programDir / "System_folder", TreeLock::Missing::Refuse);
    writePieces(languageFile(programDir), {english ? Text("En") : Text("Rus")});
}

} // namespace kavo::app
