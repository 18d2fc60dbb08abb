// SPDX-License-Identifier: MIT
// What is built from the templates serves again only for the same bytes, and the question
// before a replace reads only the templates of the folder it names.
#include "core/common/error.hpp"
#include "core/common/text.hpp"
#include "core/render/read_back.hpp"
#include "core/tasks/add_task.hpp"
#include "forms.hpp"
#include "support/test_support.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <functional>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using kavo::tasks::AddQuestion;
using kavo::test::readBytes;
using kavo::test::validForm;
using kavo::test::writeBytes;

namespace {

struct Workplace {
    kavo::test::TempDir dir;
    kavo::tasks::AppValues app;

    Workplace() {
        kavo::test::copySystemFolder(dir.path());
        writeBytes(system() / "Authorisation" / "save.txt", "0\r\n");
        app = {kavo::Lang::English, dir.path(), dir.path() / "Year", 5};
    }
    fs::path system() const { return dir.path() / "System_folder"; }
};

// What an Add task run leaves: the questions asked, the error that stopped it, and every
// file of the tree and the counter.
struct Outcome {
    std::vector<std::string> questions;
    std::string failure;
    std::string tree;
    bool operator==(const Outcome&) const = default;
};

void PrintTo(const Outcome& o, std::ostream* out) {
    *out << "questions " << ::testing::PrintToString(o.questions) << " failure [" << o.failure
         << "]\n"
         << o.tree;
}

Outcome addTask(Workplace& w, kavo::tasks::TaskForm form) {
    Outcome run;
    try {
        kavo::tasks::addTask(form, w.app, [&](AddQuestion, const kavo::Text& text) {
            run.questions.push_back(text);
            return true;
        });
    } catch (const kavo::Error& error) {
        // Without the workplace's own folder, so that two workplaces compare.
        run.failure = kavo::replaceAll(error.what(), w.dir.path().string(), "");
    }
    for (const auto& entry : fs::recursive_directory_iterator(w.app.OutputDir))
        if (entry.is_regular_file())
            run.tree += entry.path().lexically_relative(w.app.OutputDir).generic_string() + "\n" +
                        readBytes(entry.path()) + "\n";
    run.tree += readBytes(w.system() / "Authorisation" / "Tasks_in_view.txt");
    return run;
}

kavo::tasks::TaskForm formWithCondition(const char* condition) {
    auto form = validForm();
    form.Memo1 = condition;
    return form;
}

// The file's bytes changed in place, its size and times as before: no stamp shows it.
void editUnseen(const fs::path& file) {
    struct stat before {};
    ASSERT_EQ(::stat(file.c_str(), &before), 0);
    auto bytes = readBytes(file);
    ASSERT_FALSE(bytes.empty());
    bytes[bytes.size() / 2] = bytes[bytes.size() / 2] == 'x' ? 'y' : 'x';
    writeBytes(file, bytes);
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
}

// Another file of the same size and times put in its place by a rename.
void replaceByRename(const fs::path& file) {
    struct stat before {};
    ASSERT_EQ(::stat(file.c_str(), &before), 0);
    auto bytes = readBytes(file);
    bytes[0] = bytes[0] == 'x' ? 'y' : 'x';
    const auto other = file.parent_path() / "other.tmp";
    writeBytes(other, bytes);
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, other.c_str(), times, 0), 0);
    fs::rename(other, file);
}

} // namespace

// Task 1 is written and replaced once (what is built from the templates is kept), a
// template changes, and task 1 is replaced again: the question and the bytes are those of
// a program started afresh.
TEST(TemplateReuse, ChangedTemplatesAreReadAsAfresh) {
    const char* const page = "file/task_part3.txt";
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> change;
        const char* question; // before the last write
        bool stops;           // the last write stops, naming the file
    };
    const std::string unreadable = "Task 1 (cannot be read back) is already written. Replace it?";
    const std::vector<Case> cases = {
        {"unchanged", [](const fs::path&) {},
         "Task 1 (single choice) is already written. Replace it?", false},
        {"edited in place, same size and times", editUnseen, unreadable.c_str(), false},
        {"replaced through a rename", replaceByRename, unreadable.c_str(), false},
        {"deleted", [](const fs::path& file) { fs::remove(file); }, unreadable.c_str(), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Workplace kept, fresh;
        for (Workplace* w : {&kept, &fresh}) {
            ASSERT_EQ(addTask(*w, formWithCondition("First")).failure, "");
            ASSERT_EQ(addTask(*w, formWithCondition("Second")).questions.size(), 1u);
            c.change(w->system() / page);
        }
        const Outcome warm = addTask(kept, formWithCondition("Third"));
        kavo::render::TemplateSet::forgetBuilt();
        const Outcome afresh = addTask(fresh, formWithCondition("Third"));
        EXPECT_EQ(warm, afresh);
        EXPECT_EQ(warm.questions, std::vector<std::string>{c.question});
        if (c.stops)
            EXPECT_NE(warm.failure.find("System_folder/file/task_part3.txt"), std::string::npos)
                << warm.failure;
        else
            EXPECT_EQ(warm.failure, "");
        EXPECT_EQ(warm.tree.find("Second") == std::string::npos, !c.stops) << warm.tree;
    }
}

// Only the templates of the kind being written may stop Add task: a template another kind
// needs names the folder it cannot read back instead.
TEST(TemplateReuse, ReplaceQuestionReadsOnlyTheTemplatesItNeeds) {
    const std::string single = "Task 1 (single choice) is already written. Replace it?";
    const std::string unreadable = "Task 1 (cannot be read back) is already written. Replace it?";
    struct Case {
        const char* name;
        const char* missing;
        bool oldMultiple; // the task written first is a multiple choice with E removed
        bool newRemovesE; // the new single choice removes E
        std::string question;
        const char* failure; // the file the write stops at, or none
    };
    const std::vector<Case> cases = {
        {"cost template, not used by either", "Del/cost.txt", false, false, single, nullptr},
        {"another family's page template", "file_for_MultipleChoice/task_part5.txt", false, false,
         single, nullptr},
        {"the Edits templates", "file_for_edits/task1.asp", false, false, single, nullptr},
        {"cost template of the old multiple choice", "Del/cost.txt", true, false, unreadable,
         nullptr},
        {"a removal the new task needs", "Del/Radio1.txt", false, true, unreadable,
         "System_folder/Del/Radio1.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Workplace w;
        auto first = formWithCondition("First");
        if (c.oldMultiple) {
            first.Edit1 = "a,B";
            first.CheckBox3 = true;
        }
        ASSERT_EQ(addTask(w, first).failure, "");
        fs::remove(w.system() / c.missing);
        auto form = formWithCondition("Second");
        form.CheckBox3 = c.newRemovesE;
        const Outcome run = addTask(w, form);
        EXPECT_EQ(run.questions, std::vector<std::string>{c.question});
        if (c.failure) {
            EXPECT_NE(run.failure.find(c.failure), std::string::npos) << run.failure;
            EXPECT_EQ(run.tree.find("Second"), std::string::npos);
        } else {
            EXPECT_EQ(run.failure, "");
            EXPECT_NE(run.tree.find("Second"), std::string::npos);
        }
    }
}
