// SPDX-License-Identifier: MIT
#pragma once
// The templates of System_folder loaded once for reading many tasks back: the texts, every
// layout a family's page can take, and the renderers that work from the loaded texts.

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
};

// An Edits page or scoring pattern: the number of sub-questions, and what fills each hole:
// on the page the main condition (0) and the sub-questions 1 to count, in the scoring the
// answers 1 to count.
struct EditsLayout {
    int count = 0;
    std::vector<int> holes;
};

struct TemplateData {
    std::vector<FamilyTemplates> families;
    Text costFind;               // Del/cost.txt
    std::array<Text, 4> costPut; // Del/cost1.txt .. cost3.txt at 1 to 3
    Text head1, head2, tail;     // Authorisation: the description headers around the author
    Text header1, header2;       // file/task_xml.txt, task_xml_2.txt as they are today
    // Their author stretches, when head and tail frame them.
    std::array<std::optional<Text>, 2> todayAuthor;
    // Multiple choice: by the number removed, each scoring text to its right variants.
    std::array<std::unordered_map<Text, unsigned>, 4> variantScoring;
    EditsTemplates edits;
    PatternTree editsPages, editsScoring;
    std::vector<EditsLayout> editsPageLayouts, editsScoringLayouts; // by pattern index

    const FamilyTemplates& family(model::TaskKind kind) const;
};

// The template files as read: under System_folder by name ("file/task_part1.txt",
// "Del/Radio1.txt" ...), and the Edits templates. Equal sources build equal data.
struct TemplateSources {
    std::map<std::string, Text, std::less<>> files;
    EditsTemplates edits;
    bool operator==(const TemplateSources& other) const;
};

// The exact bytes of a regular file, or none.
std::optional<std::string> readBytes(const std::filesystem::path& path);

// Reads every file of the sources. Throws kavo::Error at one that cannot be read.
TemplateSources readTemplateSources(const std::filesystem::path& systemDir);
TemplateData buildTemplateData(const TemplateSources& sources);

// The files of a task as renderTask writes them, from the loaded templates. The
// description takes the author stretch as it stands between head and tail (escaped) and
// the identifiers' part letter; none when the header is too short for the identifiers.
Text pageFrom(const FamilyTemplates& family, const model::Task& task,
              std::optional<bool> russian = std::nullopt);
Text scoringFrom(const FamilyTemplates& family, const model::Task& task);
std::optional<Text> descriptionFrom(const TemplateData& data, const model::Task& task,
                                    std::optional<char> letter, bool withoutPart,
                                    std::string_view authorStretch);

} // namespace kavo::render
