// SPDX-License-Identifier: MIT
#pragma once
// A task tree beside its own copy of System_folder, written through the renderers.

#include "core/common/lang.hpp"
#include "core/render/read_back.hpp"
#include "core/render/render.hpp"
#include "support/test_support.hpp"

#include <filesystem>
#include <ostream>
#include <string>

namespace kavo::model {

// Tasks in failure messages, line breaks shown as \r\n.
inline void PrintTo(const Task& task, std::ostream* out) {
    auto show = [out](std::string_view text) {
        *out << '[';
        for (const char c : text)
            *out << (c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c));
        *out << ']';
    };
    *out << "kind " << static_cast<int>(task.kind) << " number " << task.number << " picture "
         << task.picture << " answer " << task.answer << " answers " << task.answers
         << "\n  condition ";
    show(task.condition);
    for (const auto& variant : task.variants) {
        *out << "\n  variant ";
        variant ? show(*variant) : void(*out << "removed");
    }
    *out << "\n  typed ";
    show(task.typedAnswer);
    if (task.names) {
        *out << "\n  names ";
        show(task.names->russian);
        show(task.names->english);
    }
    for (const auto& q : task.subQuestions) {
        *out << "\n  sub-question ";
        show(q.question);
        show(q.answer);
    }
    *out << "\n  title ";
    show(task.title);
    *out << " folder ";
    show(task.folder);
}

} // namespace kavo::model

namespace kavo::test {

struct Tree {
    TempDir dir;
    std::filesystem::path system = dir.path() / "System_folder";
    model::Olympiad olympiad{dir.path() / "out", {12, 12, 12}};

    Tree() { copySystemFolder(dir.path()); }

    render::Package package(const model::Task& task, const model::Olympiad& o) const {
        if (task.kind == model::TaskKind::Edits)
            return render::renderEdits(task, render::readEditsTemplates(system),
                                       std::filesystem::path(task.folder));
        return render::renderTask(task, o, system, Lang::English);
    }
    render::Package write(const model::Task& task, const model::Olympiad& o) const {
        auto written = package(task, o);
        render::writePackage(o.outputDir, written);
        return written;
    }
    std::filesystem::path file(const std::filesystem::path& folder, const char* name) const {
        return olympiad.outputDir / folder / name;
    }
    // Whether the task renders to exactly the files in the folder.
    bool rendersTo(const model::Task& task, const model::Olympiad& o,
                   const std::filesystem::path& folder) const {
        for (const auto& f : package(task, o).files())
            if (readBytes(o.outputDir / folder / f.name) != f.bytes)
                return false;
        return true;
    }
};

} // namespace kavo::test
