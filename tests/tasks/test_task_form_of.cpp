// SPDX-License-Identifier: MIT
// A written task read back into the form and written again by Add task gives the same bytes.
#include "core/render/read_back.hpp"
#include "core/render/render.hpp"
#include "core/render/task_state.hpp"
#include "core/tasks/add_task.hpp"
#include "core/tasks/checks.hpp"
#include "forms.hpp"
#include "support/sample_tasks.hpp"
#include "support/test_support.hpp"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using kavo::model::OwnNames;
using kavo::model::Task;
using kavo::model::TaskKind;
using kavo::test::cp1251;
using kavo::test::readBytes;
using kavo::test::writeBytes;

using kavo::test::choiceTask;

namespace {

const char* const Files[] = {"task.asp", "TASK.CFG", "task.out", "task.xml"};

} // namespace

TEST(TaskFormOf, ReadBackAndWrittenAgainGivesTheSameBytes) {
    struct Case {
        const char* name;
        Task task;
        kavo::model::PartSizes sizes;
        bool reviewSaved = false; // saved unchanged by the code review before the reopen
    };
    std::vector<Case> cases;
    {
        Task t = choiceTask(TaskKind::SingleChoice, 2, 0);
        t.answer = 1;
        t.picture = true;
        cases.push_back({"single, one part", t, {5, 0, 0}});
    }
    {
        Task t = choiceTask(TaskKind::SingleChoice, 4, 0b11100);
        t.answer = 0;
        t.names = OwnNames{cp1251("Сумма \"углов\""), "Sum & angles"};
        // Names with a quote or an ampersand read two ways that write alike.
        cases.push_back({"single, C D E removed, own names, part B", t, {3, 2, 1}});
    }
    {
        Task t;
        t.kind = TaskKind::TypedAnswer;
        t.number = 6;
        t.condition = cp1251("Сколько будет два плюс два?");
        t.typedAnswer = "4";
        cases.push_back({"typed, Russian, part C", t, {3, 2, 1}, true});
    }
    {
        Task t = choiceTask(TaskKind::FoldedChoice, 12, 0b10000);
        t.answer = 3;
        cases.push_back({"folded, E removed, second header", t, {12, 0, 0}});
    }
    {
        Task t = choiceTask(TaskKind::MultipleChoice, 3, 0b11000);
        t.answers = 0b101;
        cases.push_back({"multiple, D E removed", t, {3, 2, 1}});
    }
    {
        Task t = choiceTask(TaskKind::MultipleChoice, 1, 0b01000);
        t.answers = 0b10001;
        cases.push_back({"multiple, only D removed", t, {5, 0, 0}});
    }
    {
        Task t = choiceTask(TaskKind::MultipleChoiceFolded, 5, 0);
        t.answers = 0b10;
        t.names = OwnNames{cp1251("Задача"), "Task"};
        cases.push_back({"multiple folded, one right, own names", t, {5, 0, 0}, true});
    }

    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        kavo::test::TempDir dir;
        kavo::test::copySystemFolder(dir.path());
        const fs::path system = dir.path() / "System_folder";
        writeBytes(system / "Authorisation" / "save.txt", "0\r\n");
        const kavo::tasks::AppValues app{kavo::Lang::English, dir.path(), dir.path() / "Year",
                                         c.sizes.total()};
        kavo::model::Olympiad olympiad{app.OutputDir, c.sizes};
        olympiad.identifiersWithoutPart = c.sizes.b == 0 && c.sizes.c == 0;
        const fs::path folder =
            app.OutputDir / kavo::tasks::writeTask(c.task, olympiad, system, app.lang);
        std::vector<std::string> written;
        for (const char* file : Files)
            written.push_back(readBytes(folder / file));
        if (c.reviewSaved)
            for (const char* file : {"task.asp", "task.out", "task.xml"})
                writeBytes(folder / file, readBytes(folder / file) + "\r\n");

        const auto read = kavo::render::readTask(system, olympiad, c.task.number);
        const auto task = kavo::render::taskToReopen(read);
        ASSERT_TRUE(task) << read.report(app.lang);
        EXPECT_TRUE(*task == c.task) << "the names as typed, not as references";
        kavo::tasks::TaskForm base = kavo::tasks::makeStartForm();
        for (int n = 1; n <= c.sizes.total(); ++n)
            base.ListBox1.items.push_back(std::to_string(n));
        base.Edit2 = std::to_string(c.sizes.a);
        base.Edit3 = std::to_string(c.sizes.b);
        base.Edit4 = std::to_string(c.sizes.c);
        auto form = kavo::tasks::taskFormOf(*task, base);
        EXPECT_EQ(kavo::tasks::checkForm(form, app.lang, app.TaskTotal), "");

        const auto result = kavo::tasks::addTask(form, app);
        ASSERT_TRUE(result.written) << result.message;
        for (std::size_t i = 0; i < written.size(); ++i)
            EXPECT_EQ(readBytes(folder / Files[i]), written[i]) << Files[i];
    }
}
