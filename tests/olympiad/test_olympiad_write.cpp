// SPDX-License-Identifier: MIT
// An olympiad file written into a task tree and read back from it.
#include "core/common/error.hpp"
#include "core/common/messages.hpp"
#include "core/olympiad/export.hpp"
#include "core/olympiad/olympiad_write.hpp"
#include "core/olympiad/tree_read.hpp"
#include "core/render/task_tree.hpp"
#include "import_helpers.hpp"
#include "support/test_support.hpp"

#include <gtest/gtest.h>

#include <map>

namespace fs = std::filesystem;
using namespace kavo;

namespace {

struct Workplace {
    test::TempDir dir;
    Workplace() {
        test::copySystemFolder(dir.path());
        test::writeBytes(system() / "Authorisation" / "save.txt", "0\r\n");
    }
    fs::path system() const { return dir.path() / "System_folder"; }
    fs::path tree() const { return dir.path() / "Year"; }
};

} // namespace

// Every task of the example goes onto disk through the core of Add task and the Edits
// builder, and the tree reads back to the same tasks with the same part sizes.
TEST(OlympiadWrite, TheExampleReadsBackFromTheTree) {
    Workplace w;
    auto import = olympiad::importGiftFile(KAVO_EXAMPLE_OLYMPIAD);
    olympiad::checkImportedTasks(import, Lang::English);
    ASSERT_TRUE(import.ok()) << test::errors(import).size();
    std::vector<std::size_t> heard;
    const auto written = olympiad::writeOlympiad(
        import, w.system(), w.tree(), Lang::English,
        [&](std::size_t done, std::size_t total) { heard.push_back(done * 100 + total); });
    ASSERT_EQ(written, import.tasks.size());
    EXPECT_EQ(heard.back(), written * 100 + written);
    EXPECT_EQ(test::readBytes(w.system() / "Authorisation" / "Tasks_in_view.txt"),
              std::to_string(written) + "\r\n");

    const auto read = olympiad::readTree(w.tree(), w.system(), Lang::English);
    EXPECT_TRUE(read.unreadable.empty()) << read.unreadable.front().reason;
    EXPECT_EQ(read.olympiad.sizes, import.sizes);
    ASSERT_EQ(read.tasks.size(), import.tasks.size());
    for (std::size_t i = 0; i < read.tasks.size(); ++i)
        EXPECT_EQ(read.tasks[i], import.tasks[i].task) << import.tasks[i].title;
    EXPECT_EQ(olympiad::existingTasks(import, w.tree()).size(), written);
}

// The task rules of Add task and the Edits builder are problems of the file, at the task.
TEST(OlympiadWrite, TaskRulesAndStrayLessThanAreProblemsOfTheFile) {
    auto import = olympiad::importGift("// kavo: number=1\n"
                                       "::Q::[html]x <y or z? {=a ~b}\n\n"
                                       "// kavo: number=2\n"
                                       "::R::{=a ~b}\n");
    olympiad::checkImportedTasks(import, Lang::English);
    const auto errors = test::errors(import);
    const auto warnings = test::warnings(import);
    ASSERT_FALSE(warnings.empty());
    EXPECT_EQ(std::get<0>(warnings.back()), 2);
    EXPECT_NE(std::get<2>(warnings.back()).find("x <y or z?"), std::string::npos);
    EXPECT_FALSE(import.ok());
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], test::Row(5, 1, "Enter the condition of the task!"));
}

// A failure in the middle names the task; the tasks before it stay whole.
TEST(OlympiadWrite, AFailureNamesTheTaskAndKeepsTheOnesBefore) {
    Workplace w;
    auto import = olympiad::importGiftFile(KAVO_EXAMPLE_OLYMPIAD);
    ASSERT_GE(import.tasks.size(), 3u);
    // A file where the third task's folder should be.
    const auto place = olympiad::importedOlympiad(import, w.tree()).place(import.tasks[2].number);
    test::writeBytes(w.tree() / place->folder, "in the way");
    try {
        olympiad::writeOlympiad(import, w.system(), w.tree(), Lang::English, {});
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("line " + std::to_string(import.tasks[2].pos.line)),
                  std::string::npos)
            << e.what();
    }
    const auto read = olympiad::readTree(w.tree(), w.system(), Lang::English);
    EXPECT_EQ(read.tasks.size(), 2u);
    EXPECT_TRUE(read.unreadable.empty());
}

TEST(OlympiadWrite, PartSizesFoundInTheTree) {
    test::TempDir dir;
    struct Case {
        std::vector<const char*> folders;
        model::PartSizes sizes;
    };
    const Case cases[] = {
        {{}, {0, 0, 0}},
        {{"1", "3"}, {3, 0, 0}},
        // Numbers without a task between B and C count to B: C begins at its lowest task.
        {{"PartA/1", "PartA/2", "PartB/4", "PartC/7", "PartC/9"}, {2, 4, 3}},
        {{"PartB/3", "PartC/5", "Edits/x"}, {0, 4, 1}},
    };
    for (const auto& c : cases) {
        fs::remove_all(dir.path() / "Year");
        for (const char* folder : c.folders)
            test::writeBytes(dir.path() / "Year" / folder / "task.xml", "x");
        EXPECT_EQ(render::sizesInTree(dir.path() / "Year"), c.sizes) << c.folders.size();
    }
}

namespace {

// Every file of a tree, by its path in the tree, with its bytes.
std::map<std::string, std::string> filesOf(const fs::path& tree) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(tree))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), tree).generic_string()] =
                test::readBytes(entry.path());
    return files;
}

} // namespace

// A tree of part A only, without own names, folding or pictures: through Moodle XML and
// back it is written again byte for byte.
TEST(OlympiadWrite, APartATreeComesBackFromMoodleXmlByteForByte) {
    Workplace w;
    auto import = olympiad::importGift("Capital of France? {~Lyon =Paris ~Nice}\n\n"
                                       "The Earth is round. {T}\n\n"
                                       "Земля плоская. {F}\n\n"
                                       "[html]Pick <b>two</b> {~%50%a ~%50%b ~%-100%c}\n\n"
                                       "a < b & c? {=yes}\n\n"
                                       "// kavo: edits name=\"Движение\"\nMain condition\n\n"
                                       "// kavo: sub\nFirst {=3}\n\n"
                                       "// kavo: sub\nSecond {=13\\:00}\n\n"
                                       "// kavo: edits name=\"Other\"\nOther condition\n\n"
                                       "// kavo: sub\nOne {=a*b}\n\n"
                                       "// kavo: sub\nTwo {=x}\n\n"
                                       "// kavo: sub\nThree {=пять}\n");
    olympiad::checkImportedTasks(import, Lang::English);
    ASSERT_TRUE(import.ok()) << olympiad::describe(import.problems.at(0), Lang::English, "gift");
    olympiad::writeOlympiad(import, w.system(), w.tree(), Lang::English, {});
    const auto read = olympiad::readTree(w.tree(), w.system(), Lang::English);
    ASSERT_TRUE(read.unreadable.empty());
    const auto exported =
        olympiad::exportOlympiad(olympiad::ExportFormat::MoodleXml, read.olympiad, read.tasks);
    // Only the scoring of the multiple choice is said, and it comes back the same.
    ASSERT_EQ(exported.losses.size(), 1u);
    EXPECT_EQ(exported.losses[0].notes.at(0).what.en, kavo::msg::olympiad::lossScoring.en);

    auto back = olympiad::importOlympiad(exported.files.at(0).bytes);
    olympiad::checkImportedTasks(back, Lang::English);
    ASSERT_TRUE(back.ok()) << olympiad::describe(back.problems.at(0), Lang::English, "xml");
    EXPECT_EQ(back.leftOut(), 0u);
    const fs::path again = w.dir.path() / "Again";
    olympiad::writeOlympiad(back, w.system(), again, Lang::English, {});
    const auto before = filesOf(w.tree()), after = filesOf(again);
    EXPECT_EQ(before.size(), 7u * 4);
    for (const auto& [path, bytes] : before) {
        ASSERT_TRUE(after.count(path)) << path;
        EXPECT_EQ(after.at(path), bytes) << path;
    }
    EXPECT_EQ(after.size(), before.size());
}
