// SPDX-License-Identifier: MIT
#pragma once
// A task's package assembled in memory from the templates of System_folder.

#include "core/auth/author.hpp"
#include "core/common/files.hpp"
#include "core/common/lang.hpp"
#include "core/model/task.hpp"

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavo::render {

// The typed-answer page's prompt, and what a Russian condition makes of it (Введите
// корректный ответ).
inline constexpr std::string_view EnglishPrompt = "Enter the correct answer";
inline constexpr std::string_view RussianPrompt =
    "\xC2\xE2\xE5\xE4\xE8\xF2\xE5 \xEA\xEE\xF0\xF0\xE5\xEA\xF2\xED\xFB\xE9 \xEE\xF2\xE2\xE5\xF2";

// The picture a page with a picture shows, inside the task folder.
inline constexpr std::string_view PictureFile = "webfiles/picture.jpg";

// Whether the bytes begin as every JPEG file does (FF D8 FF).
bool isJpeg(std::string_view bytes);

// Whether taskFolder/webfiles/picture.jpg is missing (or is no file, or is empty).
bool pictureMissing(const std::filesystem::path& taskFolder);

// The four files of a task folder, each its exact bytes, and the picture when one is given.
struct Package {
    std::filesystem::path folder; // relative to the task tree
    Text page;                    // task.asp
    Text config;                  // TASK.CFG
    Text scoring;                 // task.out
    Text description;             // task.xml
    // JPEG bytes for webfiles/picture.jpg; none: the picture the folder holds stays.
    std::optional<std::string> picture;

    std::vector<FolderFile> files() const&;
    std::vector<FolderFile> files() &&; // the bytes moved, not copied
};

// The Edits templates, read once when the builder starts (the header again after an author
// Save). Each is the whole text of its file.
struct EditsTemplates {
    Text zamena;   // the description stretch whose "1"s become the count digit
    Text task1Asp; // three sub-questions
    Text task1Out;
    Text taskCfg;  // every variant
    Text taskXml;  // the description header
    Text task2Asp; // two sub-questions
    Text task2Out;
    Text task3Asp; // four sub-questions
    Text task3Out;
};

// Reads the snippet, then the other templates in a fixed order. Throws kavo::Error.
EditsTemplates readEditsTemplates(const std::filesystem::path& systemDir);
class TemplateSet;
EditsTemplates readEditsTemplates(const TemplateSet& templates);

// The package of a task of the task form. Reads the family's templates, the description
// headers and the Del and cost templates the task needs, in that order, and writes
// nothing. Throws kavo::Error at a template that cannot be read or a header too short for
// the identifiers; the task must lie in a part of the olympiad. Given `headers` (an author
// for one run), they stand for the two header files.
Package renderTask(const model::Task& task, const model::Olympiad& olympiad,
                   const std::filesystem::path& systemDir, Lang lang,
                   const auth::Headers* headers = nullptr);
// The same, reading the templates through the operation's set (each file once).
Package renderTask(const model::Task& task, const model::Olympiad& olympiad,
                   const TemplateSet& templates, Lang lang, const auth::Headers* headers = nullptr);

// The package of an Edits task into the given folder (relative to the task tree).
Package renderEdits(const model::Task& task, const EditsTemplates& templates,
                    const std::filesystem::path& folder);
// Its description alone (task.xml), which holds only the title and the number of
// sub-questions.
Text renderEditsDescription(std::string_view title, int subQuestions,
                            const EditsTemplates& templates);
// Whether renderEdits writes exactly these bytes as the task's task.asp, task.out or
// task.xml: compared piece by piece in place where the templates allow, else rendered.
bool editsPageIs(const model::Task& task, const EditsTemplates& templates, std::string_view page);
bool editsScoringIs(const model::Task& task, const EditsTemplates& templates,
                    std::string_view scoring);
bool editsDescriptionIs(std::string_view title, int subQuestions, const EditsTemplates& templates,
                        std::string_view description);

// The seventeen scoring lines of a multiple choice with `removed` variants taken away.
Pieces multipleChoiceScoring(unsigned rightVariants, int removed);

struct Family;
using RemovalTexts = std::map<std::string, Text, std::less<>>;

// The page of a task from its family's templates (in the order familyFiles reads them) and
// the Del templates by name. Its language, the typed-answer prompt's and the page's "lang",
// is the condition's, or `russian` where given.
Text renderPage(const Family& family, const std::vector<Text>& parts, const RemovalTexts& removals,
                const model::Task& task, std::optional<bool> russian = std::nullopt);
// renderPage into `page`, whose room is reused (a page read back is rendered once more).
void renderPageInto(Text& page, const Family& family, const std::vector<Text>& parts,
                    const RemovalTexts& removals, const model::Task& task,
                    std::optional<bool> russian = std::nullopt);

// How many of C, D and E the task removes.
int removedCount(const model::Task& task);

// task.out of a task of the form.
Text scoringOf(const Family& family, const model::Task& task);

// task.xml of a task of the form from the header of its number (as read, author line in
// it): cost="5" for a multiple choice, lowered by the Del cost texts, the identifiers given
// the part letter and the number or replaced by the own names, and without the part letter
// where the tree has no part folders. None when the header is too short for the identifiers.
std::optional<Text> descriptionOf(const Family& family, const model::Task& task, Text header,
                                  std::optional<char> partLetter, bool withoutPart,
                                  std::string_view costFind, std::string_view costPut);

// Three or more lowercase Cyrillic letters (0xE0 to 0xFF) make a condition Russian.
bool isRussianCondition(std::string_view condition);

// Writes the package into its folder under the task tree as a whole; treeFd, when not -1,
// is the task tree already open (as its lock holds it).
void writePackage(const std::filesystem::path& outputDir, Package package, int treeFd = -1);

} // namespace kavo::render
