// SPDX-License-Identifier: MIT
// Write, read back, write again, over random tasks of every kind drawn from a fixed
// random stream.
#include "core/common/files.hpp"
#include "tree.hpp"

#include <gtest/gtest.h>

#include <map>
#include <random>

using kavo::Text;
using kavo::model::Olympiad;
using kavo::model::Task;
using kavo::model::TaskKind;
using kavo::render::ReadStatus;

namespace {

const Text CRLF = "\r\n";

Text shipped(const char* name) {
    return kavo::readText(kavo::test::shippedSystemFolder() / name);
}

struct Generator {
    std::mt19937 random{20240611u}; // a fixed start value: the same tasks on every run

    // Texts the writer keeps as typed: plain words, Cyrillic, markup characters, line
    // breaks inside, and stretches of the templates that are no whole separator.
    const std::vector<Text> plain{"a",
                                  "word",
                                  " ",
                                  "x=1",
                                  "<",
                                  ">",
                                  "&",
                                  "\"",
                                  "<b>",
                                  "&amp;",
                                  "\r\n",
                                  kavo::test::cp1251("привет"),
                                  kavo::test::cp1251("Ёж, ответ"),
                                  "<%radio()%>",
                                  "</label></li>",
                                  "<li value=\"3\" class=\"variant\">",
                                  "<%check()%>",
                                  "TaskA1",
                                  "cost=\"1\"",
                                  "Enter the",
                                  "</td>"};
    // Whole separators of the pages.
    const std::vector<Text> doubtful{
        CRLF + shipped("file/task_part3.txt") + CRLF,
        CRLF + shipped("file_for_spoiler/task_part3.txt") + CRLF,
        CRLF + shipped("file_for_MultipleChoice/task_part4.txt") + CRLF,
        CRLF + shipped("file_for_edit/task_part2.txt") + CRLF,
    };
    // Names the description holds escaped: no character whose escaping can confuse, but in
    // doubtful names.
    const std::vector<Text> namePieces{"Task", "N", " ", "1", kavo::test::cp1251("Задача"), ">"};
    const std::vector<Text> doubtfulNamePieces{"Task", "N", "&", "<", "\"", "&amp;"};

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }

    Text text(const std::vector<Text>& pieces, bool withDoubt = false) {
        for (;;) {
            Text t;
            for (int n = 1 + below(5); n > 0; --n)
                t += pieces[below(static_cast<int>(pieces.size()))];
            if (withDoubt)
                t += doubtful[below(static_cast<int>(doubtful.size()))] + "z";
            // A text that begins with a line break can meet a removal template, which then
            // erases the text's separator: the writer cannot keep it (nor the next bounds).
            if (t.starts_with(CRLF) || t.ends_with(CRLF) || t.find(CRLF + CRLF) != Text::npos)
                continue;
            return t;
        }
    }

    // A task of the form. Doubtful tasks leave variants empty or hold separators in their
    // texts; the others have every variant filled or removed.
    Task formTask(bool doubtful, int number) {
        static const TaskKind kinds[] = {TaskKind::SingleChoice, TaskKind::TypedAnswer,
                                         TaskKind::FoldedChoice, TaskKind::MultipleChoice,
                                         TaskKind::MultipleChoiceFolded};
        Task task;
        task.kind = kinds[below(5)];
        task.number = number;
        task.picture = below(2) == 1;
        task.condition = text(plain, doubtful && below(3) == 0);
        if (task.kind == TaskKind::TypedAnswer) {
            task.typedAnswer = text(plain);
            if (doubtful && below(2) == 0)
                task.condition += kavo::test::cp1251(" ответ: ") +
                                  (below(2) ? "Enter the correct answer"
                                            : kavo::test::cp1251("Введите корректный ответ"));
        } else {
            // Any set of C, D and E; single-choice pages, whose separators are all alike, show
            // only how many were removed, and the form removes the last ones.
            static const int lastOnes[] = {0, 0b100, 0b110, 0b111};
            const int removed =
                task.kind == TaskKind::SingleChoice && !doubtful ? lastOnes[below(4)] : below(8);
            for (int i = 0; i < kavo::model::VariantCount; ++i) {
                if (i >= 2 && (removed >> (i - 2) & 1))
                    continue;
                task.variants[i] =
                    doubtful && below(3) == 0 ? Text() : text(plain, doubtful && below(4) == 0);
            }
            std::vector<int> kept;
            for (int i = 0; i < kavo::model::VariantCount; ++i)
                if (task.variants[i])
                    kept.push_back(i);
            if (kavo::model::isMultipleChoice(task.kind)) {
                for (const int i : kept)
                    if (below(2))
                        task.answers |= 1u << i;
            } else {
                task.answer = kept[below(static_cast<int>(kept.size()))];
            }
        }
        const auto& names = doubtful && below(2) ? doubtfulNamePieces : namePieces;
        if (below(3) == 0)
            task.names = kavo::model::OwnNames{text(names), text(names)};
        return task;
    }

    Task editsTask(bool doubtful) {
        Task task;
        task.kind = TaskKind::Edits;
        task.condition = text(plain, doubtful && below(3) == 0);
        for (int n = 2 + below(3); n > 0; --n)
            task.subQuestions.push_back({text(plain, doubtful && below(4) == 0), text(plain)});
        task.title = text(doubtful && below(4) == 0 ? doubtfulNamePieces : namePieces);
        // Placeholders the writer fills before these texts go in, so they stay as typed.
        if (doubtful && below(2)) {
            if (below(2))
                task.subQuestions.back().question += "*vs3*";
            else
                task.subQuestions.front().answer += "*ans1*";
        }
        task.folder = below(2) ? "PartC/" + std::to_string(1 + below(40)) : "Edits";
        return task;
    }
};

} // namespace

TEST(ReadBackProperty, WriteReadWrite) {
    kavo::test::Tree tree;
    // Parts A, B and C; and one part only, whose identifiers lose the part letter.
    Olympiad withParts = tree.olympiad;
    Olympiad onePart{tree.olympiad.outputDir, {40, 0, 0}, true};
    const auto templates = kavo::render::TemplateSet::load(tree.system);
    Generator generate;
    int read = 0, asRemoved = 0;
    std::map<kavo::render::ReadReason, int> doubts;
    for (int round = 0; round < 480; ++round) {
        const bool doubtful = round % 2 == 1;
        const Olympiad& olympiad = round % 5 == 0 ? onePart : withParts;
        const bool edits = round % 6 == 5;
        const Task task = edits ? generate.editsTask(doubtful)
                                : generate.formTask(doubtful, 1 + generate.below(36));
        const auto package = tree.write(task, olympiad);
        // Read as a listing of the tree does: Edits folders are named by numbers too.
        const auto result = readAnyTask(templates, olympiad, package.folder);
        SCOPED_TRACE("round " + std::to_string(round) + ": " + result.report(kavo::Lang::English));
        if (!doubtful) {
            ASSERT_EQ(result.status, ReadStatus::Read);
            ASSERT_EQ(*result.task, task);
            ASSERT_TRUE(tree.rendersTo(*result.task, olympiad, package.folder));
            EXPECT_FALSE(result.written.authorLineDiffers);
            EXPECT_EQ(result.written.identifiersWithoutPart,
                      olympiad.identifiersWithoutPart && !task.names);
            ++read;
            continue;
        }
        ASSERT_NE(result.status, ReadStatus::Mismatch);
        ASSERT_NE(result.status, ReadStatus::Missing);
        if (result.status == ReadStatus::Ambiguous) {
            // Every reading named is the package of these very files.
            ASSERT_GE(result.readings.size(), 1u);
            for (const auto& reading : result.readings)
                ASSERT_TRUE(tree.rendersTo(reading, olympiad, package.folder));
            ++doubts[result.reason];
            continue;
        }
        ASSERT_TRUE(tree.rendersTo(*result.task, olympiad, package.folder));
        if (*result.task != task) {
            // Only the single-choice page, whose separators are all alike, is read by the
            // conventions: a variant left empty that the page shows nothing of, or the
            // removed ones, are read as the last ones removed.
            ASSERT_EQ(task.kind, TaskKind::SingleChoice) << ::testing::PrintToString(task);
            ++asRemoved;
        }
    }
    // The stream reaches every outcome.
    EXPECT_EQ(read, 240);
    EXPECT_GT(asRemoved, 0);
    using kavo::render::ReadReason;
    for (const auto reason : {ReadReason::TemplateText, ReadReason::EmptyOrRemoved,
                              ReadReason::Prompt, ReadReason::Placeholder, ReadReason::Names})
        EXPECT_GT(doubts[reason], 0) << static_cast<int>(reason);
}

// The same random tasks with conditions of about 1 MB, in lines and in one line, read back as
// they do with their own: the same outcome and reason, the same task with the long condition.
TEST(ReadBackProperty, LongConditionsReadAsShortOnes) {
    kavo::test::Tree tree;
    const Olympiad& olympiad = tree.olympiad;
    const auto templates = kavo::render::TemplateSet::load(tree.system);
    for (const bool lines : {true, false}) {
        Text filler;
        while (filler.size() < (1u << 20))
            filler += lines ? "<p>A line of a long condition: 0123456789 &amp; <b>more</b>.</p>\r\n"
                            : "A long line <b>without</b> breaks: 0123456789 &amp; more. ";
        Generator generate;
        for (int round = 0; round < 48; ++round) {
            const bool doubtful = round % 2 == 1;
            const bool edits = round % 6 == 5;
            const Task small = edits ? generate.editsTask(doubtful)
                                     : generate.formTask(doubtful, 1 + generate.below(36));
            Task large = small;
            large.condition = filler + small.condition;
            const auto expected =
                readAnyTask(templates, olympiad, tree.write(small, olympiad).folder);
            const auto result =
                readAnyTask(templates, olympiad, tree.write(large, olympiad).folder);
            SCOPED_TRACE(std::string(lines ? "in lines" : "one line") + ", round " +
                         std::to_string(round) + ": " + expected.report(kavo::Lang::English));
            ASSERT_EQ(result.status, expected.status);
            ASSERT_EQ(result.reason, expected.reason);
            ASSERT_EQ(result.readings.size(), expected.readings.size());
            // A task without doubt is read back as written.
            if (!doubtful) {
                ASSERT_EQ(result.task, large);
            }
            if (expected.status == ReadStatus::Read) {
                Task read = *expected.task;
                read.condition = filler + read.condition;
                ASSERT_EQ(*result.task, read);
                EXPECT_EQ(result.written, expected.written);
            }
            // A place in or after the condition moves by the filler; one before it stays.
            if (expected.status == ReadStatus::Ambiguous) {
                EXPECT_EQ(result.place.file, expected.place.file);
                const auto at = expected.place.offset.value_or(0);
                const auto moved = expected.place.file == "task.asp" ? at + filler.size() : at;
                EXPECT_TRUE(result.place.offset == at || result.place.offset == moved)
                    << *result.place.offset << " " << at;
            }
        }
    }
}
