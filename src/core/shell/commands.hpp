// SPDX-License-Identifier: MIT
#pragma once
// The small commands of the main window, without widgets: About, Information, Reset
// settings, the output folder chooser, the web links and the coupled check boxes.

#include "core/common/lang.hpp"
#include "core/common/text.hpp"

#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>

namespace kavo::app {

// The web addresses of the four link labels. The system's own site is not public, so its
// addresses lie under the reserved example domain.
inline constexpr std::string_view WebSiteHost = "kavo.example.org";
inline constexpr std::string_view WebSiteAddress = "https://kavo.example.org/"; // Label14
inline constexpr std::string_view TextRecognitionAddress =
    "https://kavo.example.org/downloads/text-recognition.zip"; // Label15
inline constexpr std::string_view CharacterReferencesAddress =
    "https://dev.w3.org/html5/html-author/charref";                                       // Label16
inline constexpr std::string_view VideoLessonsAddress = "https://kavo.example.org/video"; // Label17

// The address of Label14 .. Label17; empty for any other number.
std::string_view linkAddress(int label);

// The messages below are program text (Windows-1251) in the interface language.
Text aboutText(Lang lang);
// The heading, three spaces and the whole counter file. Throws Error::cannotOpen.
Text informationText(Lang lang, const std::filesystem::path& programDir);
// Writes "0" to the task counter, then "1" to the author flag, and returns the message.
// A file that cannot be written throws Error::cannotCreate and skips the rest.
Text resetSettings(Lang lang, const std::filesystem::path& programDir);

// The states of CheckBox1, CheckBox2 and CheckBox3 (remove variants C, D, E).
struct RemoveBoxes {
    bool CheckBox1 = false;
    bool CheckBox2 = false;
    bool CheckBox3 = false;
    bool operator==(const RemoveBoxes&) const = default;
};

// The end state after the user changed box `clicked` (1 .. 3) to the state it has in `now`:
// the checked boxes stay a suffix of C, D, E.
RemoveBoxes coupleRemoveBoxes(RemoveBoxes now, int clicked);

// The timer's rule for CheckBox4: checked exactly when both task names are empty.
inline bool defaultNames(std::string_view edit7, std::string_view edit8) {
    return edit7.empty() && edit8.empty();
}

// Where the chooser opens: OutputDir when it is a folder, else the working directory.
std::filesystem::path chooserStart(const std::filesystem::path& outputDir,
                                   const std::filesystem::path& workingDir);

// The folder chooser. `choose` shows the chooser at a start folder and returns the folder
// the user chose or typed (none on Cancel); `confirmCreate` asks msg::shell::createFolder and
// returns true for Yes, and No returns to the chooser. A missing folder is created with
// its parents before it is returned. Returns the new OutputDir, or none when it stays.
// A folder that cannot be created throws kavo::Error with a report in the interface
// language (UTF-8, like every report that names a path).
std::optional<std::filesystem::path> chooseOutputFolder(
    Lang lang, const std::filesystem::path& outputDir, const std::filesystem::path& workingDir,
    const std::function<std::optional<std::filesystem::path>(const std::filesystem::path&)>& choose,
    const std::function<bool()>& confirmCreate);

} // namespace kavo::app
