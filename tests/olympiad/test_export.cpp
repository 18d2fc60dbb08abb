// SPDX-License-Identifier: MIT
// The exports, read back by our import (GIFT) and by readers we did not write:
// gift-pegjs for GIFT, libxml2's xmllint for Moodle XML and the QTI package.
#include "core/common/messages.hpp"
#include "core/olympiad/export.hpp"
#include "core/olympiad/gift_import.hpp"
#include "core/olympiad/page_text.hpp"
#include "support/test_support.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>

using namespace kavo;
using namespace kavo::olympiad;
using kavo::model::Task;
using kavo::model::TaskKind;
using kavo::test::cp1251;
namespace fs = std::filesystem;

namespace {

// Texts that exercise GIFT's special characters, HTML, the code page and line breaks.
const std::array<std::string, 12> plainPool = {
    "2 + 2",          "a < b & c > d", "\\{x\\} = ~y #z: w",
    "Столица России", "x ≤ y",         "two\nlines",
    "back\\slash",    "50% off",       "«кавычки»",
    "C:\\x",          "a=b",           "ends with colon:"};
const std::array<std::string, 4> htmlPool = {"<b>bold</b> text", "<p>one</p>\n<p>two</p>",
                                             "<img src=\"webfiles/picture.jpg\">", "x&nbsp;y"};
const std::array<std::string, 6> answerPool = {"60",           "пять",  "3.14",
                                               "a{b}=c~d#e:f", "x y z", "\\n"};

class RandomOlympiad {
  public:
    explicit RandomOlympiad(unsigned start) : random_(start) {}

    std::string text() {
        // Variant texts unique within a task; the same text twice would still be fine.
        if (random_() % 4 == 0)
            return pageText(htmlPool[random_() % htmlPool.size()]);
        return pageText(
            pageMarkup(plainPool[random_() % plainPool.size()] + std::to_string(counter_++),
                       TextFormat::Plain));
    }

    Task task(const model::Olympiad& olympiad, int number) {
        Task t;
        const auto kind = static_cast<TaskKind>(random_() % 6);
        t.kind = kind;
        t.condition = text();
        if (kind == TaskKind::Edits) {
            t.title = random_() % 2 ? cp1251("Задача ") + std::to_string(number) : "";
            t.folder = olympiad.place(number)->folder.generic_string();
            const auto subs = 2 + random_() % 3;
            for (std::size_t i = 0; i < subs; ++i)
                t.subQuestions.push_back(
                    {text(), cp1251(answerPool[random_() % answerPool.size()])});
            return t;
        }
        t.number = number;
        t.picture = random_() % 3 == 0;
        if (random_() % 3 == 0)
            t.names = model::OwnNames{cp1251("Имя ") + std::to_string(number),
                                      "Name " + std::to_string(number)};
        if (kind == TaskKind::TypedAnswer) {
            t.typedAnswer = cp1251(answerPool[random_() % answerPool.size()]);
            return t;
        }
        const auto n = 2 + random_() % 4;
        for (std::size_t i = 0; i < n; ++i)
            t.variants[i] = text();
        if (isMultipleChoice(kind))
            t.answers = 1u + static_cast<unsigned>(random_() % ((1u << n) - 1));
        else
            t.answer = static_cast<int>(random_() % n);
        return t;
    }

    std::pair<model::Olympiad, std::vector<Task>> olympiad(int count) {
        model::Olympiad o;
        const int a = count / 3, b = count / 3;
        o.sizes = {a, b, count - a - b};
        std::vector<Task> tasks;
        for (int n = 1; n <= count; ++n)
            tasks.push_back(task(o, n));
        return {o, tasks};
    }

  private:
    std::mt19937 random_;
    int counter_ = 0;
};

std::vector<Task> tasksOf(const OlympiadImport& imported) {
    std::vector<Task> out;
    for (const auto& t : imported.tasks)
        out.push_back(t.task);
    return out;
}

std::string run(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return out;
    std::array<char, 4096> buffer;
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        out.append(buffer.data(), n);
    const int status = pclose(pipe);
    return status == 0 ? out : "FAILED(" + std::to_string(status) + "): " + out;
}

std::string collapsed(std::string s) {
    std::string out;
    for (char c : s) {
        const bool blank = c == ' ' || c == '\n' || c == '\t' || c == '\r';
        if (blank && (out.empty() || out.back() == ' '))
            continue;
        out += blank ? ' ' : c;
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

// What gift-pegjs must find in our GIFT: format and text of a page text as we write it.
std::string pegText(const std::string& cp1251Text) {
    const std::string markup = exportText(cp1251Text);
    const auto plain = plainOf(markup);
    return std::string(plain ? "moodle " : "html ") + collapsed(plain.value_or(markup));
}

std::string weight(int right, bool isRight, int n) {
    const std::map<int, std::string> w = {
        {1, "100"}, {2, "50"}, {3, "33.33333"}, {4, "25"}, {5, "20"}};
    if (isRight)
        return w.at(right);
    return right == n ? "0" : "-" + w.at(n - right);
}

std::string expectedPeg(const model::Olympiad& o, const std::vector<Task>& tasks) {
    std::ostringstream out;
    out << "K kavo/parts/" << o.sizes.a << "," << o.sizes.b << "," << o.sizes.c << "\n";
    for (const auto& t : tasks) {
        const std::string stem = pegText(t.condition);
        const std::string stemFormat = stem.substr(0, stem.find(' '));
        if (t.kind == TaskKind::Edits) {
            const auto n = t.folder.substr(t.folder.rfind('/') + 1);
            const std::string title = t.title.empty() ? "Edits " + n : exportText(t.title);
            out << "Q Description " << title << "\nS " << stem << "\n";
            for (std::size_t i = 0; i < t.subQuestions.size(); ++i) {
                out << "Q Short " << title << " " << char('A' + i) << "\nS "
                    << pegText(t.subQuestions[i].question) << "\n";
                const auto fmt = pegText(t.subQuestions[i].question);
                out << "C true null " << fmt.substr(0, fmt.find(' ')) << " "
                    << collapsed(exportText(t.subQuestions[i].answer)) << "\n";
            }
            continue;
        }
        const auto place = o.place(t.number);
        const std::string title = t.names
                                      ? exportText(t.names->russian)
                                      : "Task" + std::string(1, place->partLetter.value_or('A')) +
                                            std::to_string(t.number);
        if (t.kind == TaskKind::TypedAnswer) {
            out << "Q Short " << title << "\nS " << stem << "\nC true null " << stemFormat << " "
                << collapsed(exportText(t.typedAnswer)) << "\n";
            continue;
        }
        const bool russian = cyrillicLowercase(collapsed(stem)) >= 3;
        if (t.variants[0] == cp1251(russian ? "Верно" : "True") &&
            t.variants[1] == cp1251(russian ? "Неверно" : "False") && !t.variants[2] &&
            !isMultipleChoice(t.kind)) {
            out << "Q TF " << title << "\nS " << stem << "\nT "
                << (t.answer == 0 ? "true" : "false") << "\n";
            continue;
        }
        out << "Q MC " << title << "\nS " << stem << "\n";
        int n = 0, right = 0;
        for (const auto& v : t.variants)
            n += v.has_value();
        for (int i = 0; i < n; ++i)
            right += (t.answers >> i) & 1u;
        for (int i = 0; i < n; ++i) {
            const bool multiple = isMultipleChoice(t.kind);
            const bool isRight = multiple ? ((t.answers >> i) & 1u) != 0 : i == t.answer;
            out << "C "
                << (multiple  ? "false"
                    : isRight ? "true"
                              : "false")
                << " " << (multiple ? weight(right, isRight, n) : "null") << " "
                << pegText(*t.variants[static_cast<std::size_t>(i)]) << "\n";
        }
    }
    return out.str();
}

std::string pegDump(const fs::path& file) {
    const std::string module = std::string(KAVO_NPM_DIR) + "/node_modules/gift-pegjs";
    if (!fs::exists(module))
        return "gift-pegjs is missing: ctest installs it (tests/olympiad/install_npm_tools.sh)";
    return run("NODE_PATH='" + std::string(KAVO_NPM_DIR) +
               "/node_modules' node '" KAVO_GIFT_PEGJS_DUMP "' '" + file.string() + "' 2>&1");
}

OlympiadImport exampleImport() {
    auto imported = importGiftFile(KAVO_EXAMPLE_OLYMPIAD);
    EXPECT_TRUE(imported.ok());
    return imported;
}

TEST(OlympiadExport, GiftImportExportImportGivesTheSameTasks) {
    for (unsigned start = 1; start <= 20; ++start) {
        SCOPED_TRACE(start);
        auto [olympiad, tasks] = RandomOlympiad(start).olympiad(5 + static_cast<int>(start) * 4);
        const auto exported = exportOlympiad(ExportFormat::Gift, olympiad, tasks);
        const auto imported = importGift(exported.files.at(0).bytes);
        ASSERT_TRUE(imported.ok())
            << describe(imported.problems.at(0), Lang::English, "export") << "\n"
            << exported.files[0].bytes;
        EXPECT_TRUE(imported.sizesGiven);
        EXPECT_EQ(imported.sizes, olympiad.sizes);
        const auto back = tasksOf(imported);
        ASSERT_EQ(back.size(), tasks.size());
        for (std::size_t i = 0; i < tasks.size(); ++i)
            EXPECT_EQ(back[i], tasks[i]) << i << "\n" << exported.files[0].bytes;
    }
    const auto example = exampleImport();
    const model::Olympiad olympiad{{}, example.sizes, false};
    const auto again =
        importGift(exportOlympiad(ExportFormat::Gift, olympiad, tasksOf(example)).files[0].bytes);
    EXPECT_EQ(tasksOf(again), tasksOf(example));
}

// What Moodle XML keeps of task `number` of an olympiad of `count` tasks read back: no
// folding, picture or own names, the numbers of part A in order.
Task keptByMoodle(Task t, int number, int count) {
    if (t.kind == TaskKind::FoldedChoice)
        t.kind = TaskKind::SingleChoice;
    if (t.kind == TaskKind::MultipleChoiceFolded)
        t.kind = TaskKind::MultipleChoice;
    t.picture = false;
    t.names.reset();
    if (t.kind == TaskKind::Edits) {
        t.folder = model::Olympiad{{}, {count, 0, 0}, false}.place(number)->folder.generic_string();
        // An Edits task always has a name when written; the export names one without it.
        if (t.title.empty())
            t.title = "Edits " + std::to_string(number);
    } else
        t.number = number;
    return t;
}

TEST(OlympiadExport, MoodleXmlImportsBackEqualInWhatItKeepsAndListsTheRest) {
    for (unsigned start = 1; start <= 20; ++start) {
        SCOPED_TRACE(start);
        const int count = 5 + static_cast<int>(start) * 4;
        auto [olympiad, tasks] = RandomOlympiad(start).olympiad(count);
        const auto exported = exportOlympiad(ExportFormat::MoodleXml, olympiad, tasks);
        const auto imported = importOlympiad(exported.files.at(0).bytes);
        ASSERT_TRUE(imported.ok())
            << describe(imported.problems.at(0), Lang::English, "export") << "\n"
            << exported.files[0].bytes;
        EXPECT_EQ(imported.leftOut(), 0u);
        EXPECT_EQ(imported.sizes, (model::PartSizes{count, 0, 0}));
        const auto back = tasksOf(imported);
        ASSERT_EQ(back.size(), tasks.size());
        std::set<std::size_t> lossy;
        for (const auto& l : exported.losses)
            lossy.insert(l.index);
        for (std::size_t i = 0; i < tasks.size(); ++i) {
            const int number = static_cast<int>(i) + 1;
            EXPECT_EQ(back[i], keptByMoodle(tasks[i], number, count)) << i;
            // What does not come back was listed as lost by the export.
            if (tasks[i].picture || tasks[i].names || isFolded(tasks[i].kind)) {
                EXPECT_TRUE(lossy.count(i)) << i;
            }
        }
    }
}

TEST(OlympiadExport, GiftPegjsReadsTheSameQuestionsAnswersAndWeights) {
    kavo::test::TempDir dir;
    auto check = [&](const model::Olympiad& olympiad, const std::vector<Task>& tasks) {
        const auto file = dir.path() / "olympiad.gift";
        writeExport(exportOlympiad(ExportFormat::Gift, olympiad, tasks), file);
        EXPECT_EQ(pegDump(file), expectedPeg(olympiad, tasks));
    };
    const auto example = exampleImport();
    check({{}, example.sizes, false}, tasksOf(example));
    for (unsigned start = 100; start < 105; ++start) {
        auto [olympiad, tasks] = RandomOlympiad(start).olympiad(30);
        check(olympiad, tasks);
    }
}

TEST(OlympiadExport, OutputIsUtf8WithCharacterReferencesDecoded) {
    Task t;
    t.kind = TaskKind::TypedAnswer;
    t.number = 1;
    t.condition = cp1251("Сравните: x &#8804; y &amp;#8804;");
    t.typedAnswer = cp1251("да");
    const model::Olympiad o{{}, {1, 0, 0}, true};
    const auto gift = exportOlympiad(ExportFormat::Gift, o, {t}).files[0].bytes;
    EXPECT_NE(gift.find("::Task1::Сравните\\: x ≤ y &\\#8804; {=да}"), std::string::npos) << gift;
    const auto moodle = exportOlympiad(ExportFormat::MoodleXml, o, {t}).files[0].bytes;
    EXPECT_NE(moodle.find("Сравните: x ≤ y &amp;amp;#8804;"), std::string::npos) << moodle;
    const auto qti = exportOlympiad(ExportFormat::Qti, o, {t}).files.at(1).bytes;
    EXPECT_NE(qti.find("<div>Сравните: x ≤ y &amp;#8804;</div>"), std::string::npos) << qti;
    EXPECT_NE(qti.find("<value>да</value>"), std::string::npos);
}

TEST(OlympiadExport, EachFormatNamesWhatItLosesPerTask) {
    const model::Olympiad o{{}, {5, 0, 0}, false};
    auto choice = [](TaskKind kind) {
        Task t;
        t.kind = kind;
        t.variants = {std::string("a"), std::string("b"), std::string("c"), std::nullopt,
                      std::nullopt};
        t.answers = 0b011;
        return t;
    };
    Task folded = choice(TaskKind::FoldedChoice);
    folded.picture = true;
    Task multiple = choice(TaskKind::MultipleChoice);
    multiple.condition = "<b>own</b> markup";
    Task named = choice(TaskKind::SingleChoice);
    named.names = model::OwnNames{cp1251("Имя"), "Name"};
    named.variants[1] = "";
    Task edits;
    edits.kind = TaskKind::Edits;
    edits.folder = "Other/3";
    edits.subQuestions = {{"q", "1"}, {"r", "2"}};
    const std::vector<Task> tasks = {folded, multiple, named, edits};
    auto losses = [&](ExportFormat f) {
        std::map<std::size_t, std::set<std::string>> out;
        for (const auto& l : exportOlympiad(f, o, tasks).losses)
            for (const auto& n : l.notes)
                out[l.index].insert(std::string(n.what.en.substr(0, 24)));
        return out;
    };
    auto words = [](std::initializer_list<kavo::MessageText> ms) {
        std::set<std::string> out;
        for (const auto& m : ms)
            out.insert(std::string(m.en.substr(0, 24)));
        return out;
    };
    using L = std::map<std::size_t, std::set<std::string>>;
    EXPECT_EQ(losses(ExportFormat::Gift), (L{{0, words({kavo::msg::olympiad::lossPicture})},
                                             {1, words({kavo::msg::olympiad::lossScoring})},
                                             {2, words({kavo::msg::olympiad::lossEmptyVariant})}}));
    EXPECT_EQ(losses(ExportFormat::MoodleXml),
              (L{{0, words({kavo::msg::olympiad::lossPicture, kavo::msg::olympiad::lossFolded})},
                 {1, words({kavo::msg::olympiad::lossScoring})},
                 {2, words({kavo::msg::olympiad::lossEmptyVariant,
                            kavo::msg::olympiad::lossEnglishName})},
                 {3, words({kavo::msg::olympiad::lossFolder})}}));
    EXPECT_EQ(losses(ExportFormat::Qti),
              (L{{0, words({kavo::msg::olympiad::lossPicture, kavo::msg::olympiad::lossFolded})},
                 {1, words({kavo::msg::olympiad::lossMarkup})},
                 {2, words({kavo::msg::olympiad::lossEnglishName})},
                 {3, words({kavo::msg::olympiad::lossFolder})}}));
}

std::string xpath(const fs::path& file, const std::string& expr) {
    auto out = run("xmllint --xpath \"" + expr + "\" '" + file.string() + "' 2>&1");
    if (!out.empty() && out.back() == '\n')
        out.pop_back();
    return out;
}

double number(const std::string& text) {
    try {
        return std::stod(text);
    } catch (const std::exception&) {
        ADD_FAILURE() << "not a number: " << text;
        return -1;
    }
}

TEST(OlympiadExport, MoodleXmlIsWellFormedAndCarriesWhatMoodleImportRequires) {
    kavo::test::TempDir dir;
    auto [olympiad, tasks] = RandomOlympiad(7).olympiad(24);
    const auto example = exampleImport();
    tasks.insert(tasks.end(), example.tasks.size(), Task{});
    std::transform(example.tasks.begin(), example.tasks.end(),
                   tasks.end() - static_cast<long>(example.tasks.size()),
                   [](const ImportedTask& t) { return t.task; });
    const auto file = dir.path() / "olympiad.xml";
    writeExport(exportOlympiad(ExportFormat::MoodleXml, olympiad, tasks), file);
    ASSERT_EQ(run("xmllint --noout '" + file.string() + "' 2>&1"), "");
    ASSERT_EQ(number(xpath(file, "count(/quiz/question)")), static_cast<double>(tasks.size()));
    for (std::size_t i = 0; i < tasks.size(); ++i) {
        SCOPED_TRACE(i);
        const std::string q = "/quiz/question[" + std::to_string(i + 1) + "]";
        const auto& t = tasks[i];
        const std::string type = xpath(file, "string(" + q + "/@type)");
        EXPECT_NE(xpath(file, "string(" + q + "/name/text)"), "");
        EXPECT_EQ(xpath(file, "string(" + q + "/questiontext/@format)"), "html");
        EXPECT_EQ(number(xpath(file, "count(" + q + "/questiontext/text)")), 1);
        EXPECT_EQ(number(xpath(file, "count(" + q + "/defaultgrade)")), 1);
        int variants = 0;
        for (const auto& v : t.variants)
            variants += v.has_value();
        if (t.kind == TaskKind::Edits) {
            EXPECT_EQ(type, "cloze");
            const auto text = xpath(file, "string(" + q + "/questiontext/text)");
            std::size_t blanks = 0;
            for (auto at = text.find("{1:SHORTANSWER_C:="); at != std::string::npos;
                 at = text.find("{1:SHORTANSWER_C:=", at + 1))
                ++blanks;
            EXPECT_EQ(blanks, t.subQuestions.size());
        } else if (t.kind == TaskKind::TypedAnswer) {
            EXPECT_EQ(type, "shortanswer");
            EXPECT_EQ(xpath(file, "string(" + q + "/usecase)"), "1");
            EXPECT_EQ(xpath(file, "string(" + q + "/answer/@fraction)"), "100");
            EXPECT_NE(xpath(file, "string(" + q + "/answer/text)"), "");
        } else if (type == "truefalse") {
            EXPECT_EQ(xpath(file, "string(" + q + "/answer[1]/text)"), "true");
            EXPECT_EQ(xpath(file, "string(" + q + "/answer[2]/text)"), "false");
            EXPECT_EQ(number(xpath(file, "sum(" + q + "/answer/@fraction)")), 100);
        } else {
            EXPECT_EQ(type, "multichoice");
            for (std::string field :
                 {"single", "shuffleanswers", "answernumbering", "correctfeedback",
                  "partiallycorrectfeedback", "incorrectfeedback"})
                EXPECT_EQ(number(xpath(file, "count(" + q + "/" + field + ")")), 1) << field;
            EXPECT_EQ(number(xpath(file, "count(" + q + "/answer[@fraction][text])")), variants);
            // Moodle requires positive fractions adding up to 100%, or one 100% for single.
            EXPECT_NEAR(number(xpath(file, "sum(" + q + "/answer[@fraction > 0]/@fraction)")), 100,
                        0.001);
            EXPECT_EQ(xpath(file, "string(" + q + "/single)"),
                      isMultipleChoice(t.kind) ? "false" : "true");
        }
    }
}

TEST(OlympiadExport, QtiPackageItemsAreWellFormedAndScoreAsTaskOut) {
    kavo::test::TempDir dir;
    auto [olympiad, tasks] = RandomOlympiad(9).olympiad(24);
    const auto out = dir.path() / "package";
    const auto exported = exportOlympiad(ExportFormat::Qti, olympiad, tasks);
    writeExport(exported, out);
    const auto manifest = out / "imsmanifest.xml";
    ASSERT_EQ(run("xmllint --noout '" + manifest.string() + "' 2>&1"), "");
    ASSERT_EQ(
        number(xpath(manifest, "count(//*[local-name()='resource'][@type='imsqti_item_xmlv2p1'])")),
        static_cast<double>(tasks.size()));
    std::set<std::string> names;
    for (const auto& f : exported.files)
        names.insert(f.name);
    for (std::size_t i = 0; i < tasks.size(); ++i) {
        SCOPED_TRACE(i);
        const auto& t = tasks[i];
        const std::string r = "//*[local-name()='resource'][" + std::to_string(i + 1) + "]";
        const std::string href = xpath(manifest, "string(" + r + "/@href)");
        EXPECT_EQ(xpath(manifest, "string(" + r + "/*[local-name()='file']/@href)"), href);
        ASSERT_TRUE(names.count(href)) << href;
        const auto item = out / href;
        ASSERT_EQ(run("xmllint --noout '" + item.string() + "' 2>&1"), "");
        auto count = [&](const std::string& e) { return number(xpath(item, "count(" + e + ")")); };
        auto any = [](const std::string& name) { return "//*[local-name()='" + name + "']"; };
        auto child = [](const std::string& name) { return "/*[local-name()='" + name + "']"; };
        EXPECT_EQ(xpath(item, "namespace-uri(/*)"), "http://www.imsglobal.org/xsd/imsqti_v2p1");
        EXPECT_EQ(count(any("outcomeDeclaration") + "[@identifier='SCORE']"), 1);
        // Every interaction answers a declared response.
        EXPECT_EQ(count(any("responseDeclaration")),
                  count(any("choiceInteraction") + "|" + any("textEntryInteraction")));
        const double unmatched =
            count(any("responseDeclaration") + "[not(@identifier = " + any("choiceInteraction") +
                  "/@responseIdentifier or @identifier = " + any("textEntryInteraction") +
                  "/@responseIdentifier)]");
        EXPECT_EQ(unmatched, 0);
        if (t.kind == TaskKind::Edits) {
            EXPECT_EQ(count(any("textEntryInteraction")),
                      static_cast<double>(t.subQuestions.size()));
            EXPECT_EQ(count(any("responseCondition") + any("responseIf") + any("match")),
                      static_cast<double>(t.subQuestions.size()));
            continue;
        }
        if (t.kind == TaskKind::TypedAnswer) {
            EXPECT_EQ(xpath(item, "string(" + any("correctResponse") + any("value") + ")"),
                      exportText(t.typedAnswer));
            continue;
        }
        int n = 0, wrong = 0;
        for (const auto& v : t.variants)
            n += v.has_value();
        for (int k = 0; k < n; ++k)
            wrong += isMultipleChoice(t.kind) ? !((t.answers >> k) & 1u) : 0;
        EXPECT_EQ(count(any("simpleChoice")), n);
        EXPECT_EQ(count(any("correctResponse") + any("value") + "[not(. = " + any("simpleChoice") +
                        "/@identifier)]"),
                  0);
        if (isMultipleChoice(t.kind)) {
            // task.out: a point per variant answered rightly, ticked if right, unticked if wrong.
            EXPECT_EQ(xpath(item, "normalize-space(" + any("outcomeDeclaration") +
                                      "[@identifier='MAXSCORE'])"),
                      std::to_string(n));
            EXPECT_EQ(count(any("responseCondition")), n + 1);
            EXPECT_EQ(count(any("responseIf") + child("not") + child("member")), wrong);
            EXPECT_EQ(count(any("responseIf") + child("member")), n - wrong);
            EXPECT_EQ(
                number(xpath(item, "string(" + any("responseIf") + "[*[local-name()='isNull']]" +
                                       child("setOutcomeValue") + child("baseValue") + ")")),
                wrong);
        } else {
            EXPECT_EQ(count(any("correctResponse") + any("value")), 1);
            EXPECT_EQ(xpath(item, "string(" + any("correctResponse") + any("value") + ")"),
                      std::string(1, static_cast<char>('A' + t.answer)));
        }
    }
}

} // namespace

// Exported text: the program's line breaks (CR LF, or a lone CR typed by hand) become LF, a
// character reference above ASCII becomes the character, and markup stays as it is.
TEST(ExportText, LineBreaksAndReferences) {
    const std::pair<std::string, std::string> cases[] = {
        {"a\r\nb", "a\nb"},
        {"a\rb", "a\nb"},
        {"a\r\r\nb\r", "a\n\nb\n"},
        {"&#8364; &#65; &amp; <b>x</b>", "\xE2\x82\xAC &#65; &amp; <b>x</b>"},
        {cp1251("Ответ"), "Ответ"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(exportText(in), out) << in;
}
