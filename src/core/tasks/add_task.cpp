// SPDX-License-Identifier: MIT
#include "core/tasks/add_task.hpp"
#include "core/common/files.hpp"

#include "core/common/error.hpp"
#include "core/tasks/checks.hpp"
#include "core/tasks/messages.hpp"
#include "core/tasks/writers.hpp"

namespace kavo::tasks {

AddTaskResult addTask(TaskForm& form, const AppValues& app) {
    const auto systemDir = app.ProgramDir / "System_folder";
    AddTaskResult result;
    result.message = checkForm(form, app.Lang, app.TaskTotal);
    // A "1" anywhere in the author flag means the author's details are still missing.
    Text flag;
    try {
        flag = readText(systemDir / "Authorisation" / "save.txt");
    } catch (const Error& error) {
        if (result.message.empty())
            throw;
        result.failure = error.what();
        return result;
    }
    result.showAuthorDialog = flag.find('1') != Text::npos;
    if (!result.message.empty() || result.showAuthorDialog)
        return result;

    emptyRemovedVariants(form);
    const auto kind = chooseTemplate(form);
    if (!kind)
        return result;
    const Package package = writerFor(*kind)(form, {systemDir, app.OutputDir, app.Lang});
    if (!package.folder) {
        // The checks refuse such a number; the writer found the same place.
        result.message = messages::outsideParts.in(app.Lang);
        return result;
    }
    writePackage(package);
    raiseTaskCounter(systemDir);
    result.written = true;

    const int k = form.ListBox1.selected.value_or(-1) + 1;
    resetForm(form);
    // The identifiers are rewritten only where they are the defaults: own names such as
    // "TaskAlpha" must stay as typed.
    if (form.Edit3 == "0" && form.Edit4 == "0" && form.CheckBox4)
        rewriteIdentifiers(app.OutputDir, k);
    return result;
}

} // namespace kavo::tasks
