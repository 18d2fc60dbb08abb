// SPDX-License-Identifier: MIT
#include "core/shell/commands.hpp"
#include "core/common/files.hpp"

#include "core/common/error.hpp"
#include "core/common/messages.hpp"
#include "core/common/tree_lock.hpp"

#include <system_error>

namespace fs = std::filesystem;

namespace kavo::app {

namespace {

fs::path authorisation(const fs::path& programDir) {
    return programDir / "System_folder" / "Authorisation";
}

std::string shown(const fs::path& path) {
    const auto u8 = path.u8string();
    return std::string(u8.begin(), u8.end());
}

} // namespace

std::string_view linkAddress(int label) {
    switch (label) {
    case 14:
        return WebSiteAddress;
    case 15:
        return TextRecognitionAddress;
    case 16:
        return CharacterReferencesAddress;
    case 17:
        return VideoLessonsAddress;
    default:
        return {};
    }
}

Text aboutText(Lang lang) {
    return msg::shell::aboutFirstLine.in(lang) + "\n" +
           std::string(lang == Lang::English ? 17 : 19, ' ') +
           "TemplateForSpoiler, TemplateForMultipleChoice" + "\n\n" + std::string(51, ' ') +
           msg::shell::version.in(lang);
}

Text informationText(Lang lang, const fs::path& programDir) {
    const Text quantity = readText(authorisation(programDir) / "Tasks_in_view.txt");
    return msg::shell::addedTasks.in(lang) + "   " + quantity;
}

Text resetSettings(Lang lang, const fs::path& programDir) {
    const TreeLock system(programDir / "System_folder", TreeLock::Missing::Refuse);
    writePieces(authorisation(programDir) / "Tasks_in_view.txt", {"0"});
    writePieces(authorisation(programDir) / "save.txt", {"1"});
    return msg::shell::settingsReset.in(lang);
}

RemoveBoxes coupleRemoveBoxes(RemoveBoxes now, int clicked) {
    // Each box changed by a rule runs its own rule in turn, as a click on it would.
    bool* box[] = {nullptr, &now.CheckBox1, &now.CheckBox2, &now.CheckBox3};
    auto set = [&](int which, bool checked, auto& self) -> void {
        *box[which] = checked;
        const bool c = *box[which];
        if (which == 1 && c) {
            if (!now.CheckBox2)
                self(2, true, self);
            if (!now.CheckBox3)
                self(3, true, self);
        } else if (which == 2 && c) {
            if (!now.CheckBox3)
                self(3, true, self);
        } else if (which == 2 && !c) {
            if (now.CheckBox1)
                self(1, false, self);
        } else if (which == 3 && !c) {
            if (now.CheckBox1)
                self(1, false, self);
            if (now.CheckBox2)
                self(2, false, self);
        }
    };
    if (clicked >= 1 && clicked <= 3)
        set(clicked, *box[clicked], set);
    return now;
}

fs::path chooserStart(const fs::path& outputDir, const fs::path& workingDir) {
    std::error_code ec;
    return fs::is_directory(outputDir, ec) ? outputDir : workingDir;
}

std::optional<fs::path>
chooseOutputFolder(Lang lang, const fs::path& outputDir, const fs::path& workingDir,
                   const std::function<std::optional<fs::path>(const fs::path&)>& choose,
                   const std::function<bool()>& confirmCreate) {
    const fs::path start = chooserStart(outputDir, workingDir);
    while (true) {
        const auto chosen = choose(start);
        if (!chosen || chosen->empty())
            return std::nullopt;
        fs::path folder = (workingDir / *chosen).lexically_normal();
        if (!folder.has_filename() && folder.has_parent_path() && folder != folder.root_path())
            folder = folder.parent_path();
        std::error_code ec;
        if (fs::is_directory(folder, ec))
            return folder;
        if (!confirmCreate())
            continue;
        fs::create_directories(folder, ec);
        if (ec || !fs::is_directory(folder))
            throw Error(msg::shell::cannotCreateFolder.utf8(lang, {shown(folder)}));
        return folder;
    }
}

} // namespace kavo::app
