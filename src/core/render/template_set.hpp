// SPDX-License-Identifier: MIT
#pragma once
// What is built from the templates of System_folder for reading tasks back: by group (a
// family, the description headers, the Edits templates) the texts, every layout a page can
// take, and the renderers that work from the loaded texts.

#include "core/model/task.hpp"
#include "core/render/families.hpp"
#include "core/render/render.hpp"
#include "core/render/text_pattern.hpp"

#include <array>
#include <filesystem>
#include <map>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kavo::render {

enum class VariantState { Filled, Empty, Removed };

inline constexpr int ConditionHole = -1;

// One layout of a family's page: picture or not, each variant filled, left empty or
// removed, and for the typed answer the prompt's language. Its holes hold the condition
// and the filled variants, in page order.
struct PageShape {
    bool picture = false;
    std::array<VariantState, model::VariantCount> states{};
    bool russianPrompt = false; // a Russian condition: the prompt and the page's language
    std::vector<int> holes;     // ConditionHole or a variant index
    int erasedEmpty = 0;        // variants left empty whose whole block a removal took out

    int emptyKept() const;
    bool removedSuffix() const; // none, E, D and E, or C, D and E: the sets the form removes
};

struct FamilyTemplates {
    const Family* family = nullptr;
    std::vector<Text> parts; // in the order of familyFiles
    Text config;             // TASK.CFG as written
    std::map<std::string, Text, std::less<>> removals;
    PatternTree pages;
    // By page pattern: the layouts that give it, the preferred first (fewest variants left
    // empty, then a removed set the form can make).
    std::vector<std::vector<PageShape>> shapes;
    std::array<Text, model::VariantCount> oneVariant; // scoring by the right variant
    // Families whose cost falls with removed variants: Del/cost.txt, and cost1.txt ..
    // cost3.txt at 1 to 3.
    Text costFind;
    std::array<Text, 4> costPut;
};

// The description headers and the author templates around the author line.
struct DescriptionTemplates {
    Text head1, head2, tail; // Authorisation: the description headers around the author
    Text header1, header2;   // file/task_xml.txt, task_xml_2.txt as they are today
    // Their author stretches, when head and tail frame them.
    std::array<std::optional<Text>, 2> todayAuthor;
};

// An Edits page or scoring pattern: the number of sub-questions, and what fills each hole:
// on the page the main condition (0) and the sub-questions 1 to count, in the scoring the
// answers 1 to count.
struct EditsLayout {
    int count = 0;
    std::vector<int> holes;
};

struct EditsData {
    EditsTemplates edits;
    PatternTree editsPages, editsScoring;
    std::vector<EditsLayout> editsPageLayouts, editsScoringLayouts; // by pattern index
};

// What the end of every page of a family holds: one of `stretches` within its last `window`
// bytes, whatever variants were removed (the line breaks the removals leave follow it). No
// stretches: the end rules nothing out.
struct PageEnd {
    std::vector<Text> stretches;
    std::size_t window = 0;

    bool mayEnd(std::string_view page) const;
};

// The end of the pages of a family from its closing template and its removal texts: the
// stretch of the closing template that no removal can reach into. Of the Edits pages (two to
// four sub-questions, either language): what follows the last placeholder.
PageEnd familyPageEnd(const Family& family, const Text& closing, const std::vector<Text>& removals);
PageEnd editsPageEnd(const std::vector<const Text*>& pages);

// The files each group of templates is built from, under System_folder, in reading order.
std::vector<std::string> familyGroupFiles(const Family& family);
std::vector<std::string> descriptionGroupFiles();
std::vector<std::string> editsGroupFiles();
// familyGroupFiles of the kind's family, made once.
const std::vector<std::string>& familyGroupFilesOf(model::TaskKind kind);

// What a group is built from its files (texts in the order of its list above).
FamilyTemplates buildFamily(model::TaskKind kind, const std::vector<Text>& texts);
DescriptionTemplates buildDescriptions(const std::vector<Text>& texts);
EditsData buildEdits(const std::vector<Text>& texts);

// The exact bytes of a regular file, or none.
std::optional<std::string> readBytes(const std::filesystem::path& path);

// The files of a task as renderTask writes them, from the loaded templates. The
// description takes the author stretch as it stands between head and tail (escaped) and
// the identifiers' part letter; none when the header is too short for the identifiers.
Text pageFrom(const FamilyTemplates& family, const model::Task& task,
              std::optional<bool> russian = std::nullopt);
Text scoringFrom(const FamilyTemplates& family, const model::Task& task);
std::optional<Text> descriptionFrom(const DescriptionTemplates& headers,
                                    const FamilyTemplates& family, const model::Task& task,
                                    std::optional<char> letter, bool withoutPart,
                                    std::string_view authorStretch);

} // namespace kavo::render
