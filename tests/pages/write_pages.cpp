// SPDX-License-Identifier: MIT
// Writes a task of every template family and every Edits variant with the program's own
// code, and the preview of each, for the accessibility check of check_pages.mjs.
// Usage: write_pages SYSTEM_FOLDER OUT; OUT/pages receives NAME.asp and NAME.html pairs.
#include "core/common/codepage.hpp"
#include "core/common/files.hpp"
#include "core/render/render.hpp"
#include "core/review/preview.hpp"
#include "core/tasks/add_task.hpp"

#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using kavo::Text;
using kavo::model::Task;
using kavo::model::TaskKind;

namespace {

Text cp(std::string_view utf8) {
    return kavo::utf8ToCp1251(utf8, kavo::Unencodable::CharacterReference).value();
}

// Conditions as a teacher types them: markup, entities, several lines.
Text russianCondition() {
    return cp("Решите уравнение x<sup>2</sup> &minus; 5x + 6 = 0.\r\n<p>Укажите "
              "<b>больший</b> корень.</p>");
}

Text englishCondition() {
    return "Solve x<sup>2</sup> &minus; 5x + 6 = 0.\r\n<p>Give the <b>larger</b> root.</p>";
}

struct Written {
    std::string name;
    Text page;
    fs::path folder; // the task folder under the task tree, for the webfiles URL
};

struct KindName {
    TaskKind kind;
    const char* name;
};

const KindName choiceKinds[] = {
    {TaskKind::SingleChoice, "single-choice"},
    {TaskKind::FoldedChoice, "folded"},
    {TaskKind::MultipleChoice, "multiple-choice"},
    {TaskKind::MultipleChoiceFolded, "multiple-choice-folded"},
};

std::vector<Task> formTasks(std::vector<std::string>& names) {
    std::vector<Task> tasks;
    const Text variants[] = {"x = 2", "x = 3", "x<sup>2</sup> = 9", cp("нет корней"), "&pi;"};
    for (const auto& [kind, name] : choiceKinds)
        for (bool picture : {false, true})
            for (int removed = 0; removed <= 3; ++removed) {
                Task task;
                task.kind = kind;
                task.condition = russianCondition();
                task.picture = picture;
                for (int i = 0; i < kavo::model::VariantCount - removed; ++i)
                    task.variants[i] = variants[i];
                task.answer = 1;
                task.answers = 0b11;
                tasks.push_back(task);
                names.push_back(std::string(name) + (picture ? "-picture" : "") + "-removed" +
                                std::to_string(removed));
            }
    for (bool russian : {true, false})
        for (bool picture : {false, true}) {
            Task task;
            task.kind = TaskKind::TypedAnswer;
            task.condition = russian ? russianCondition() : englishCondition();
            task.picture = picture;
            task.typedAnswer = "3";
            tasks.push_back(task);
            names.push_back(std::string("typed-answer") + (russian ? "-ru" : "-en") +
                            (picture ? "-picture" : ""));
        }
    return tasks;
}

Task editsTask(int questions) {
    Task task;
    task.kind = TaskKind::Edits;
    task.condition = cp("Поезд идёт со скоростью 60 км/ч.<br>\r\nОтветьте на вопросы.");
    for (int i = 0; i < questions; ++i)
        task.subQuestions.push_back(
            {cp("Сколько километров он пройдёт за <b>") + std::to_string(i + 1) + cp("</b> ч?"),
             std::to_string(60 * (i + 1))});
    task.title = cp("Движение");
    return task;
}

void run(const fs::path& shipped, const fs::path& out) {
    const fs::path work = out / "work";
    fs::remove_all(out);
    fs::create_directories(work);
    fs::copy(shipped, work / "System_folder", fs::copy_options::recursive);
    const fs::path systemDir = work / "System_folder";

    std::vector<Written> written;
    std::vector<std::string> names;
    const auto tasks = formTasks(names);
    kavo::model::Olympiad olympiad{work / "Year", {static_cast<std::int32_t>(tasks.size()), 0, 0}};
    for (std::size_t i = 0; i < tasks.size(); ++i) {
        Task task = tasks[i];
        task.number = static_cast<int>(i + 1);
        const fs::path folder =
            olympiad.outputDir /
            kavo::tasks::writeTask(task, olympiad, systemDir, kavo::Lang::Russian);
        written.push_back({names[i], kavo::readText(folder / "task.asp"), folder});
    }
    const auto edits = kavo::render::readEditsTemplates(systemDir);
    for (int questions = 2; questions <= 4; ++questions) {
        const auto package = kavo::render::renderEdits(editsTask(questions), edits,
                                                       "edits-" + std::to_string(questions));
        kavo::render::writePackage(olympiad.outputDir, package);
        const fs::path folder = olympiad.outputDir / package.folder;
        written.push_back(
            {"edits-" + std::to_string(questions), kavo::readText(folder / "task.asp"), folder});
    }

    // The preview writes buf.html as previewTask does: the static page and one CR LF.
    const auto templates = kavo::review::readPreviewTemplates(work);
    fs::create_directories(out / "pages");
    for (const auto& w : written) {
        kavo::writeFileAtomic(out / "pages" / (w.name + ".asp"), w.page);
        kavo::writePieces(out / "pages" / (w.name + ".html"),
                          {kavo::review::previewPage(
                              templates, w.page, kavo::review::folderUrl(w.folder / "webfiles"))});
    }
    std::cout << written.size() << " pages and their previews in " << (out / "pages") << "\n";
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: write_pages SYSTEM_FOLDER OUT\n";
        return 2;
    }
    try {
        run(argv[1], argv[2]);
    } catch (const std::exception& error) {
        std::cerr << "write_pages: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
