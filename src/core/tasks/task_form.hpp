// SPDX-License-Identifier: MIT
#pragma once

#include "core/common/error.hpp"
#include "core/common/text.hpp"
#include "core/model/task.hpp"
#include "core/render/read_back.hpp"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavo::tasks {

// A list box: its items and its selected position (from 0), if any.
struct ListField {
    std::vector<Text> items;
    std::optional<int> selected;

    // A selection that names one of the items.
    bool hasSelection() const {
        return selected && *selected >= 0 && *selected < static_cast<int>(items.size());
    }
    // The selected item's text; empty when nothing is selected.
    Text selectedText() const { return hasSelection() ? items[*selected] : Text(); }
};

// The task form of the main window, one field per widget, named after it. All texts are
// Windows-1251 with CR LF line breaks.
struct TaskForm {
    ListField ListBox1; // task numbers "1" .. TaskTotal
    ListField ListBox2; // picture: "Yes", "No"
    ListField ListBox3; // fold the answers: "Yes", "No"
    Text Memo1;         // the condition
    Text VariantOtveta_1, VariantOtveta_2, VariantOtveta_3, VariantOtveta_4, VariantOtveta_5;
    Text Edit1;                                                   // the correct answer
    bool CheckBox1 = false, CheckBox2 = false, CheckBox3 = false; // remove C, D, E
    bool CheckBox4 = true;                                        // default task names
    Text Edit7, Edit8;                                            // Russian, English name
    Text Edit2, Edit3 = "0", Edit4 = "0";                         // sizes of parts A, B, C
    bool RadioButton1 = false, RadioButton2 = true;               // olympiad language
    // The picture chosen with Button9, as JPEG bytes; none: the task folder keeps its own.
    std::optional<std::string> picture;
};

// "Yes" and "No" as the lists hold them at start.
TaskForm makeStartForm();

// After a written task: the next task number selected (none past the last), "No" for the
// picture and the fold, the removal flags cleared, the condition, variants, names, answer
// and chosen picture emptied. The part sizes, CheckBox4 and the olympiad language stay.
void resetForm(TaskForm& form);

// Empties the variants that CheckBox1 to CheckBox3 remove.
void emptyRemovedVariants(TaskForm& form);

// The form that writes a task read back again, byte for byte: its number selected in
// ListBox1 (none when the list does not hold it), the picture and the fold answered, the
// condition, the variants with the removed ones empty and ticked, the answer as a teacher
// types it ("b", "a,c", a typed text), the own names with CheckBox4 clear. The number list,
// the part sizes and the olympiad language stay as `base` has them.
TaskForm taskFormOf(const model::Task& task, TaskForm base);

// The checks of the task form, in the order their messages stand in the one box.
enum class Check {
    NoTaskNumber,
    NoPictureAnswer,
    NoAnswer,
    NoFoldAnswer,
    TooManyTasks,
    CommaInTypedAnswer,
    NotLatin,
    NotAtoE,
    NotOneVariant,
    // The rest of the answer of a task with variants (answerFault): each names what it found.
    AnswerCharacter,
    CyrillicLetter,
    CommaMissing,
    EmptyBetweenCommas,
    LetterTwice,
    RemovedVariantNamed,
    OutsideParts,
    NoOwnNames,
    // What cannot be right on the page: an empty condition, an empty answer button.
    EmptyCondition,
    EmptyVariantA,
    EmptyVariantB,
    EmptyVariantC,
    EmptyVariantD,
    EmptyVariantE,
    // Own names that task.xml, an XML file, cannot hold.
    InvalidRussianName,
    InvalidEnglishName,
    // A page text or answer with a character its file cannot hold (checkTaskTexts).
    RefusedCharacter,
};

// The form read as a task of an olympiad. What only the form can get wrong (no number
// selected, no Yes or No chosen, an answer text that names no variant) is found here; the
// task's own rules run on `task` (checkTask). A size field that is not a whole number is
// kept as the error to report once the checks pass.
struct FormReading {
    model::Task task;
    std::optional<model::Olympiad> olympiad; // none while a size field is not a number
    std::optional<Error> sizeError;
    std::vector<Check> problems;
    bool kindChosen = false; // false without a fold answer
};

// Reads the form; storedTotal is the sum of the part sizes stored by Ok.
FormReading readTaskForm(const TaskForm& form, const std::filesystem::path& outputDir,
                         std::int64_t storedTotal);

// The text after "ans1=": "0" to "4" for a to e (either case) or 1 to 5, else empty.
Text answerIndex(std::string_view answer);

// What the correct answer of a task with variants holds that it may not, beyond the first
// byte that checks 7 and 8 judge: one letter a to e (either case), or such letters separated
// by commas with spaces around them, each letter once; a final comma makes a multiple choice
// of one right variant ("b,"). `character` is the one the fault names (for LetterTwice the
// variant's capital letter); a Cyrillic letter that looks like a Latin one is named as such
// even as the first byte.
struct AnswerFault {
    Check check;
    char character = 0;
};
std::optional<AnswerFault> answerFault(std::string_view answer);

// The Latin letter a to e (either case) that a Cyrillic letter looks like ("\xF1" gives 'c');
// 0 for any other byte.
char latinLookalike(char cp1251);

// Compares the list answers "Yes" and "No", ignoring the case of Latin letters.
bool sameIgnoringCase(std::string_view a, std::string_view b);

} // namespace kavo::tasks
