// SPDX-License-Identifier: MIT
#pragma once
// The check of a whole task tree: what stops the olympiad from going out as it is (a number
// in two folders or outside the part sizes, a task that does not read back, a missing
// picture) and what a teacher may want to look at (holes, stray '<', blank variants, answers
// bunched on one letter, repeated conditions). A check only reads.

#include "core/common/lang.hpp"
#include "core/model/task.hpp"
#include "core/olympiad/problem.hpp"
#include "core/render/read_back.hpp"
#include "core/render/task_state.hpp"
#include "core/tasks/markup_check.hpp"

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavo::olympiad {

// The first line of a condition as plain text: tags removed, references decoded, blanks
// around it trimmed (UTF-8).
std::string conditionLine(const model::Task& task);
// The same of the condition given, cut to `limit` bytes (and "…") when longer.
std::string conditionLine(std::string_view condition, std::size_t limit);
// What the overview's cell shows of a first line: a longer one is cut there.
inline constexpr std::size_t CellLimit = 1000;

// What the overview and the check keep of a task's condition, taken while it is at hand.
struct TreeNotes : render::TaskNotes {
    // The overview's: conditionLine, shared with its rows (a first line may be large).
    std::shared_ptr<const std::string> line;
    struct Check {
        std::vector<tasks::MarkupWarning> strays; // of every field, the condition's first
        bool blank = false;                       // the condition shows as nothing
        // Equal conditions have equal sizes and hashes (of pieces spread over the condition);
        // equal hashes prove nothing.
        std::size_t size = 0;
        std::uint64_t hash = 0;
    };
    std::optional<Check> check; // the check's
};

// Takes the overview's notes, the check's or both (and any kept before of the same files).
class TreeNoteTaker : public render::NoteTaker {
  public:
    TreeNoteTaker(Lang lang, bool line, bool check) : lang_(lang), line_(line), check_(check) {}
    std::shared_ptr<const render::TaskNotes> take(const model::Task& task,
                                                  std::string_view condition,
                                                  const render::TaskNotes* before) const override;
    bool serves(const render::TaskNotes& notes) const override;

  private:
    Lang lang_;
    bool line_, check_;
};

// Numbered folders (relative to the tree) whose place contradicts the tree: a number held by
// two folders, or lying outside the part sizes given; the reason per folder (UTF-8).
std::map<std::filesystem::path, std::string>
placeProblems(const std::vector<std::filesystem::path>& folders, const model::PartSizes& sizes,
              Lang lang);

struct CheckRow {
    Severity severity = Severity::Error;
    std::filesystem::path folder; // relative to the tree; empty: the olympiad as a whole
    std::string text;             // the problem (UTF-8, interface language)
    bool placeError = false;      // a number in two folders or outside the part sizes
};

struct TreeCheck {
    model::PartSizes sizes;  // found in the tree
    std::size_t folders = 0; // task folders checked
    // Errors, then warnings: each first by folder in the order of the overview, then the
    // entries that are no folder and the holes, then the olympiad's own.
    std::vector<CheckRow> rows;

    std::size_t count(Severity severity) const;
    // A number in two folders or outside the part sizes: an export would be wrong.
    bool stopsExport() const;
};

// "PartB/4: text", or "The olympiad: text" for a row without a folder (UTF-8).
std::string rowText(const CheckRow& row, Lang lang);

// Checks the tree under outputDir (a folder) with the templates given, through the cache
// when given.
TreeCheck checkTree(const render::TemplateSet& templates, const std::filesystem::path& outputDir,
                    Lang lang, render::StateCache* cache = nullptr);

} // namespace kavo::olympiad
