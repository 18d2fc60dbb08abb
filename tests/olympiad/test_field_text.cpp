// SPDX-License-Identifier: MIT
// Hostile texts against every door a text comes in by: each door refuses what a field may
// not hold, naming the field and the character, or the text comes back whole.
#include "core/auth/author.hpp"
#include "core/common/codepage.hpp"
#include "core/common/error.hpp"
#include "core/common/field_text.hpp"
#include "core/edits/edits_task.hpp"
#include "core/olympiad/export.hpp"
#include "core/olympiad/gift_import.hpp"
#include "core/olympiad/olympiad_write.hpp"
#include "core/olympiad/page_text.hpp"
#include "core/review/task_review.hpp"
#include "core/tasks/checks.hpp"
#include "support/test_support.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

using namespace kavo;
using kavo::model::Task;
using kavo::model::TaskKind;
namespace fs = std::filesystem;

namespace {

// One row per class of character: whether page text, an answer and an XML field (a name)
// refuse it, and how a refusal names it.
struct Hostile {
    const char* what;
    std::string text;
    bool page, answer, xml;
    const char* named;
};

const Hostile hostile[] = {
    {"NUL", std::string("a\0b", 3), true, true, true, "U+0000"},
    {"bell", "a\x07z", true, true, true, "U+0007"},
    {"form feed", "a\fz", true, true, true, "U+000C"},
    {"DEL", "a\x7Fz", true, true, true, "U+007F"},
    {"undefined 0x98", "a\x98z", true, true, true, "U+0098"},
    {"TAB", "a\tz", false, true, true, "U+0009"},
    {"line break", "a\r\nz", false, true, true, "U+000D"},
    {"&#0;", "a&#0;z", true, false, true, "&#0; (U+0000)"},
    {"&#x7; leading zeros", "a&#x0007;z", true, false, true, "&#x0007; (U+0007)"},
    {"&#X1F; capital X", "a&#X1F;z", true, false, true, "&#X1F; (U+001F)"},
    {"&#x110000;", "a&#x110000;z", true, false, true, "&#x110000; (beyond U+10FFFF)"},
    {"&#xFFFE; non-character", "a&#xFFFE;z", true, false, true, "&#xFFFE; (U+FFFE)"},
    {"&#X41; capital X", "a&#X41;z", false, false, false, ""},
    {"&#0065; leading zeros", "a&#0065;z", false, false, false, ""},
    {"&#171;q&#187; scored as typed", "&#171;q&#187;", false, false, false, ""},
    {"slash and dots", "a/../b", false, false, false, ""},
};

model::Olympiad fiveTasks() {
    return {{}, {5, 0, 0}, true};
}

Task typed(const std::string& condition, const std::string& answer) {
    Task t;
    t.kind = TaskKind::TypedAnswer;
    t.number = 1;
    t.condition = condition;
    t.typedAnswer = answer;
    return t;
}

Task choice(const std::string& variant) {
    Task t;
    t.kind = TaskKind::SingleChoice;
    t.number = 2;
    t.condition = "Pick";
    t.variants = {std::string("x"), variant, std::nullopt, std::nullopt, std::nullopt};
    return t;
}

Task named(const std::string& name) {
    Task t = choice("y");
    t.number = 3;
    t.names = model::OwnNames{name, "Name"};
    return t;
}

Task editsTask(const std::string& question, const std::string& answer, const std::string& title) {
    Task t;
    t.kind = TaskKind::Edits;
    t.folder = "4";
    t.condition = "Main";
    t.title = title;
    t.subQuestions = {{question, "1"}, {"second", answer}};
    return t;
}

std::string formMessage(const Task& task) {
    return tasks::checkMessages(tasks::checkTask(task, nullptr), Lang::English, &task);
}

std::string editsMessage(const Task& task) {
    return edits::checkEditsTask(task, fiveTasks(), Lang::English);
}

// The import of the olympiad's GIFT export: its errors, or the tasks it gives.
olympiad::OlympiadImport roundTrip(const std::vector<Task>& tasks, std::string& losses) {
    const auto exported =
        olympiad::exportOlympiad(olympiad::ExportFormat::Gift, fiveTasks(), tasks);
    for (const auto& l : exported.losses)
        for (const auto& n : l.notes)
            losses += n.text(Lang::English) + "\n";
    auto imported = olympiad::importGift(exported.files.at(0).bytes);
    olympiad::checkImportedTasks(imported, Lang::English);
    return imported;
}

std::string xmllint(const std::string& bytes) {
    kavo::test::TempDir dir;
    const auto file = dir.path() / "x.xml";
    kavo::test::writeBytes(file, bytes);
    FILE* pipe = popen(("xmllint --noout '" + file.string() + "' 2>&1").c_str(), "r");
    std::string out;
    char buffer[512];
    while (pipe && std::fgets(buffer, sizeof buffer, pipe))
        out += buffer;
    const int status = pipe ? pclose(pipe) : -1;
    return status == 0 ? "" : "not well-formed: " + out;
}

} // namespace

// Rows: hostile characters. Columns: the form's checks (condition, variant, typed answer,
// own name), the Edits builder (sub-question, answer, name), the code review's Save
// changes (page, scoring file), the author line. A refusal names the field and the
// character; what passes is kept byte for byte.
TEST(FieldText, EveryDoorRefusesByFieldAndCharacter) {
    for (const auto& h : hostile) {
        SCOPED_TRACE(h.what);
        struct Door {
            const char* name;
            bool refuses;
            std::string message;
            const char* field;
        };
        std::string authorMessage;
        {
            kavo::test::TempDir dir;
            kavo::test::copySystemFolder(dir.path());
            try {
                auth::saveAuthorIn(dir.path() / "System_folder", h.text, Lang::English);
            } catch (const Error& e) {
                authorMessage = e.what();
            }
        }
        std::string reviewPage, reviewOut;
        {
            kavo::test::TempDir dir;
            review::ReviewState state;
            const review::PartSizes sizes{3, 0, 0, 3};
            for (const char* file : review::ReviewFiles)
                kavo::test::writeBytes(dir.path() / "1" / file, "x\r\n");
            review::openTask(
                state, sizes, dir.path(), 0, [](int, const Text&) {}, Lang::English);
            reviewPage =
                review::saveTask(state, sizes, dir.path(), 0,
                                 {"<p>" + h.text + "</p>", "ans1=1", "<task/>"}, Lang::English)
                    .message;
            const auto before = kavo::test::readBytes(dir.path() / "1" / "task.out");
            reviewOut = review::saveTask(state, sizes, dir.path(), 0,
                                         {"<p/>", "countby=test\r\nans1=" + h.text, "<task/>"},
                                         Lang::English)
                            .message;
            if (!reviewOut.ends_with("Saved successfully")) {
                EXPECT_EQ(kavo::test::readBytes(dir.path() / "1" / "task.out"), before);
            }
        }
        const Door doors[] = {
            {"form condition", h.page, formMessage(typed(h.text, "1")), "Condition"},
            {"form variant", h.page, formMessage(choice(h.text)), "Variant B"},
            {"form typed answer", h.answer, formMessage(typed("Say", h.text)),
             "The correct answer"},
            {"form own name", h.xml, formMessage(named(h.text)), "Russian task name"},
            {"Edits sub-question", h.page, editsMessage(editsTask(h.text, "2", "T")),
             "Sub-question A"},
            {"Edits answer", h.answer, editsMessage(editsTask("q", h.text, "T")),
             "The answer to sub-question B"},
            {"Edits name", h.xml, editsMessage(editsTask("q", "2", h.text)), "name of the task"},
            {"review page", h.page, reviewPage, "task.asp"},
            // A line break is the scoring file's own: only the form's one-line answer refuses it.
            {"review scoring file", h.answer && std::string(h.what) != "line break", reviewOut,
             "task.out"},
            {"author line", h.xml, authorMessage, "author line"},
        };
        for (const auto& d : doors) {
            SCOPED_TRACE(d.name);
            if (!d.refuses) {
                EXPECT_TRUE(d.message.empty() || d.message == "\nSaved successfully") << d.message;
                continue;
            }
            EXPECT_NE(d.message.find(d.field), std::string::npos) << d.message;
            EXPECT_NE(d.message.find(h.named), std::string::npos) << d.message;
        }
    }
}

// Rows: the same characters. Columns: the exports. Each export of a task holding one is
// well-formed, and GIFT reads back to the same task unless the export names the loss.
TEST(FieldText, ExportsAreLosslessOrNameTheLoss) {
    for (const auto& h : hostile) {
        SCOPED_TRACE(h.what);
        const std::vector<Task> tasks = {typed("<b>" + h.text + "</b>", "x" + h.text),
                                         choice(h.text), named("N" + h.text),
                                         editsTask("q" + h.text, "2" + h.text, "T" + h.text)};
        for (const auto format : {olympiad::ExportFormat::MoodleXml, olympiad::ExportFormat::Qti}) {
            const auto exported = olympiad::exportOlympiad(format, fiveTasks(), tasks);
            for (const auto& file : exported.files)
                if (file.name.ends_with(".xml")) {
                    EXPECT_EQ(xmllint(file.bytes), "") << file.name;
                }
        }
        std::string losses;
        const auto imported = roundTrip(tasks, losses);
        ASSERT_TRUE(imported.ok())
            << olympiad::describe(imported.problems.at(0), Lang::English, "gift");
        ASSERT_EQ(imported.tasks.size(), tasks.size());
        const bool lost = h.page || h.answer || h.xml;
        EXPECT_EQ(losses.find("can hold: left out") != std::string::npos, lost) << losses;
        if (lost) {
            EXPECT_NE(losses.find(h.named), std::string::npos) << losses;
            continue;
        }
        // Page text and names come back as the characters their references name; an
        // answer as it is scored.
        EXPECT_EQ(imported.tasks[0].task.typedAnswer, tasks[0].typedAnswer);
        EXPECT_EQ(imported.tasks[3].task.subQuestions[1].answer, tasks[3].subQuestions[1].answer);
        EXPECT_EQ(olympiad::exportText(imported.tasks[2].task.names->russian),
                  olympiad::exportText(tasks[2].names->russian));
    }
}

// An Edits task in a folder that is no task number's place keeps its folder through GIFT;
// a folder= that would leave the task tree, or name a control character, is refused.
TEST(FieldText, EditsFolderTravelsAsFolderAndIsCheckedOnImport) {
    Task t = editsTask("q", "2", "T");
    t.folder = "Other/3";
    std::string losses;
    const auto imported = roundTrip({t}, losses);
    ASSERT_TRUE(imported.ok()) << olympiad::describe(imported.problems.at(0), Lang::English, "g");
    EXPECT_EQ(losses, "");
    ASSERT_EQ(imported.tasks.size(), 1u);
    EXPECT_EQ(imported.tasks[0].task, t);

    const std::pair<std::string, bool> folders[] = {
        {"Other/3", true}, {"PartC\\\\x", true}, {"../up", false}, {"/etc", false},
        {"C:/x", false},   {"a\tb", false},      {"a/./b", false}, {"", false},
    };
    for (const auto& [folder, accepted] : folders) {
        SCOPED_TRACE(folder);
        const auto bytes = "// kavo: edits folder=\"" + folder +
                           "\"\nMain\n\n// kavo: sub\nq{=1}\n\n// kavo: sub\nr{=2}\n";
        const auto back = olympiad::importGift(bytes);
        EXPECT_EQ(back.ok(), accepted)
            << (back.ok() ? "" : back.problems[0].note.text(Lang::English));
    }
    // Two tasks in one folder, by folder= and by number.
    const auto twice = olympiad::importGift(
        "$CATEGORY: kavo/parts/3,0,0\n\n// kavo: edits folder=\"2\"\nMain\n\n// kavo: sub\nq{=1}"
        "\n\n// kavo: sub\nr{=2}\n\n// kavo: number=2\nT {=x}\n");
    EXPECT_FALSE(twice.ok());
}

// A name never becomes a path: the import takes "/" in own names, an Edits name and a
// title, as the form does.
TEST(FieldText, ImportTakesSlashesInNames) {
    const auto imported = olympiad::importGift(
        "// kavo: name-ru=\"1/2 и ../x\" name-en=\"/etc/x\"\n::C\\:\\\\x/..::Half? {=0.5}\n\n"
        "// kavo: edits name=\"a/../b\"\nMain\n\n// kavo: sub\nq{=1}\n\n// kavo: sub\nr{=2}\n");
    ASSERT_TRUE(imported.ok()) << imported.problems.at(0).note.text(Lang::English);
    EXPECT_EQ(imported.tasks.at(0).task.names->english, "/etc/x");
    EXPECT_EQ(imported.tasks.at(1).task.title, "a/../b");
}

// UTF-8 text from a file or the command line, by field: a character the code page lacks is
// a reference in page text and refused in an answer; control characters refused everywhere.
TEST(FieldText, Utf8TextByField) {
    struct Case {
        TextField field;
        std::string utf8;
        std::string text; // empty: refused
        const char* named;
    };
    const Case cases[] = {
        {TextField::Condition, "x ≤ y", "x &#8804; y", ""},
        {TextField::TypedAnswer, "x ≤ y", "", "U+2264"},
        {TextField::TypedAnswer, "&#8804;", "&#8804;", ""},
        {TextField::AuthorLine, "Анна\x01", "", "U+0001"},
        {TextField::AuthorLine, "a\tb", "", "U+0009"},
        {TextField::Condition, "a\tb", "a\tb", ""},
        {TextField::Condition, "\xFF", "", "0xFF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.utf8);
        const auto got = fieldTextOfUtf8(c.field, c.utf8);
        if (c.text.empty())
            EXPECT_EQ(std::get<InvalidCharacter>(got).description, c.named);
        else
            EXPECT_EQ(std::get<Text>(got), c.text);
    }
}

// Rows: the same characters, typed into a GIFT file. Columns: a condition in [html], a
// typed answer, an own name. The import refuses what the field may not hold (a control
// byte makes the whole file binary), naming the character, or keeps the text whole.
TEST(FieldText, GiftImportRefusesOrKeepsEachText) {
    for (const auto& h : hostile) {
        SCOPED_TRACE(h.what);
        const std::string utf8 = cp1251ToUtf8(h.text);
        std::string answer;
        for (const char c : utf8)
            answer += std::string(c == '#' || c == '=' || c == '~' || c == '\\' ? "\\" : "") + c;
        struct Door {
            const char* name;
            std::string gift;
            bool refuses;
            std::function<std::string(const Task&)> field;
        };
        const Door doors[] = {
            {"condition", "::T::[html]" + utf8 + " {=x}", h.page,
             [](const Task& t) { return t.condition; }},
            {"typed answer", "::T::Q {=" + answer + "}", h.answer,
             [](const Task& t) { return t.typedAnswer; }},
            {"own name", "// kavo: name-ru=\"" + utf8 + "\" name-en=\"n\"\n::T::Q {=x}", h.xml,
             [](const Task& t) { return t.names ? t.names->russian : "none"; }},
        };
        for (const auto& d : doors) {
            SCOPED_TRACE(d.name);
            auto imported = olympiad::importGift(d.gift);
            olympiad::checkImportedTasks(imported, Lang::English);
            // Refused: an error that blocks the file, or the question left out of it.
            const bool refused = !imported.ok() || imported.tasks.empty();
            EXPECT_EQ(refused, d.refuses);
            if (refused) {
                // A control byte makes the file binary; a line break ends a kavo value and
                // is named as such in an answer.
                const auto text = imported.problems.at(0).note.text(Lang::English);
                const bool syntax = text.find("control byte") != std::string::npos ||
                                    text.find("needs a text") != std::string::npos ||
                                    text.find("line break") != std::string::npos;
                if (!syntax) {
                    EXPECT_NE(text.find(h.named), std::string::npos) << text;
                }
                continue;
            }
            ASSERT_EQ(imported.tasks.size(), 1u);
            EXPECT_EQ(d.field(imported.tasks[0].task), h.text);
        }
    }
    // A C1 control or a non-character in valid UTF-8 is named where it stands.
    for (const std::string c : {"\xC2\x85", "\xEF\xB7\x90"}) {
        const auto imported = olympiad::importGift("::T::Q" + c + " {=x ~y}");
        ASSERT_FALSE(imported.ok());
        EXPECT_EQ(imported.problems.at(0).pos, (olympiad::SourcePos{1, 6}));
        EXPECT_NE(imported.problems[0].note.text(Lang::English).find("Condition"),
                  std::string::npos);
    }
}

// Markup made text: tags dropped, breaks made line feeds, references decoded; a "<" without
// a ">" after it, and every later one, stays as typed.
TEST(FieldText, MarkupMadeText) {
    const std::pair<std::string, std::string> cases[] = {
        {"a<b>c<d", "ac<d"},
        {"x < y > z < w", "x  z < w"},
        {"&lt;&#1071;&bogus;", "<Я&bogus;"},
        {"line\nnext", "line next"},
        {"a \n b", "a  b"},
        {"  text<br><br>  ", "  text"},
        {"<P>one</P><Br/>two</li>", "one\n\ntwo"},
        {"a</DIV >b</Div>c", "ab\nc"},
        {std::string(100000, 'w') + "<b>x</b>&amp;", std::string(100000, 'w') + "x&"},
    };
    for (const auto& [markup, text] : cases)
        EXPECT_EQ(kavo::olympiad::stripMarkup(markup), text) << markup.substr(0, 40);
    // Plain runs are copied sixteen bytes a step: markup just before, on and after a step's
    // edge, and a run ending the text, are taken as they stand.
    for (std::size_t n = 0; n < 40; ++n) {
        const std::string run(n, 'w');
        EXPECT_EQ(kavo::olympiad::stripMarkup(run + "<b>x</b>&amp;y\nz" + run), run + "x&y z" + run)
            << n;
        EXPECT_EQ(kavo::olympiad::stripMarkup("a" + run + "&lt;" + run), "a" + run + "<" + run)
            << n;
    }
}
