// SPDX-License-Identifier: MIT
#pragma once
// Every task of a task tree as the olympiad overview lists it: where it lies, what it is,
// and whether it reads back.

#include "core/common/lang.hpp"
#include "core/render/read_back.hpp"
#include "core/render/task_state.hpp"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kavo::olympiad {

// One task folder; the texts are UTF-8 in the interface language, empty where the folder does
// not tell (a task that does not read back has no kind, names or answer).
struct OverviewRow {
    std::filesystem::path folder; // relative to the task tree
    std::optional<int> number;    // the folder's own name, 1 to 99
    render::FolderState state;    // Written or Unreadable
    std::string place;            // "5", or the folder for any other ("Extra/Train")
    std::string part;             // "A", "B", "C", or empty outside the parts
    std::string kind;             // kindName, or "cannot be read back"
    std::string names;            // "Russian / English", the default identifier, an Edits name
    std::string answer;           // "B", "A, C", the typed text, "A: 3; B: 13:00"
    std::string picture;          // present or missing; empty for a task without a picture
    std::string readsBack;        // "yes", or why not
    // The condition's first line as plain text, shared with the notes kept of the task (it
    // may be large); none for a task that does not read back.
    std::shared_ptr<const std::string> condition;
    std::string problem; // a number held by another folder too, or outside the part sizes
};

// The tasks of the tree under outputDir, read with the templates given: by part (the tree
// itself, then PartA, PartB, PartC, then other folders), in each the numbered folders by
// number, then the others by name. Folders that cannot be listed are passed over. A numbered
// folder whose number another folder holds too, or that lies outside the part sizes the tree
// shows, gets its problem.
std::vector<OverviewRow> overviewRows(const render::TemplateSet& templates,
                                      const std::filesystem::path& outputDir, Lang lang,
                                      render::StateCache* cache = nullptr);
// The same, each task's notes taken by `taker` (the condition's cell filled from them).
std::vector<OverviewRow> overviewRows(const render::TemplateSet& templates,
                                      const std::filesystem::path& outputDir, Lang lang,
                                      render::StateCache* cache, const render::NoteTaker& taker);

} // namespace kavo::olympiad
