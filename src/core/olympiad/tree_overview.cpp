// SPDX-License-Identifier: MIT
#include "core/olympiad/tree_overview.hpp"

#include "core/common/codepage.hpp"
#include "core/common/messages.hpp"
#include "core/olympiad/tree_check.hpp"
#include "core/olympiad/tree_read.hpp"
#include "core/render/task_tree.hpp"

#include <algorithm>
#include <system_error>
#include <tuple>

namespace fs = std::filesystem;

namespace kavo::olympiad {

namespace {

// The group a folder is listed in: the tree itself, PartA, PartB, PartC, anything else.
int groupOf(const fs::path& folder) {
    const auto parent = folder.parent_path().generic_string();
    if (parent.empty())
        return 0;
    for (int part = 0; part < 3; ++part)
        if (parent == std::string("Part") + char('A' + part))
            return part + 1;
    return 4;
}

std::string partOf(const fs::path& folder, std::optional<int> number) {
    const int group = groupOf(folder);
    if (group >= 1 && group <= 3)
        return std::string(1, char('A' + group - 1));
    // A tree without part folders holds part A directly.
    return group == 0 && number ? "A" : "";
}

std::string letter(int variant) {
    return std::string(1, char('A' + variant));
}

std::string namesOf(const model::Task& task, const render::WrittenWith& written) {
    if (task.kind == model::TaskKind::Edits)
        return cp1251ToUtf8(task.title);
    if (task.names)
        return cp1251ToUtf8(task.names->russian) + " / " + cp1251ToUtf8(task.names->english);
    std::string id = "Task";
    if (!written.identifiersWithoutPart)
        id += written.partLetter.value_or('A');
    return id + std::to_string(task.number);
}

std::string answerOf(const model::Task& task) {
    switch (task.kind) {
    case model::TaskKind::SingleChoice:
    case model::TaskKind::FoldedChoice:
        return letter(task.answer);
    case model::TaskKind::MultipleChoice:
    case model::TaskKind::MultipleChoiceFolded: {
        std::string letters;
        for (int i = 0; i < model::VariantCount; ++i)
            if (task.answers & (1u << i))
                letters += (letters.empty() ? "" : ", ") + letter(i);
        return letters;
    }
    case model::TaskKind::TypedAnswer:
        return cp1251ToUtf8(task.typedAnswer);
    case model::TaskKind::Edits: {
        std::string answers;
        for (std::size_t i = 0; i < task.subQuestions.size(); ++i)
            answers += (i == 0 ? "" : "; ") + letter(static_cast<int>(i)) + ": " +
                       cp1251ToUtf8(task.subQuestions[i].answer);
        return answers;
    }
    }
    return {};
}

OverviewRow rowOf(const render::TemplateSet& templates, const model::Olympiad& olympiad,
                  const fs::path& folder, Lang lang, render::StateCache* cache,
                  const render::NoteTaker& taker) {
    OverviewRow row;
    row.folder = folder;
    row.number = render::folderNumber(folder);
    const int group = groupOf(folder);
    row.place = row.number && group <= 3 ? std::to_string(*row.number) : folder.generic_string();
    row.part = partOf(folder, row.number);
    row.state = cache
                    ? cache->state(templates, olympiad, folder, std::nullopt, lang, &taker)
                    : render::folderState(templates, olympiad, folder, std::nullopt, lang, &taker);
    row.kind = render::stateName(row.state, lang);
    if (row.state.status != render::FolderStatus::Written || !row.state.task) {
        row.readsBack = row.state.reason;
        return row;
    }
    const model::Task& task = *row.state.task;
    row.names = namesOf(task, row.state.written);
    if (const auto* notes = dynamic_cast<const TreeNotes*>(row.state.notes.get());
        notes && notes->line)
        row.condition = notes->line;
    row.answer = answerOf(task);
    if (task.picture) {
        std::error_code ec;
        const bool present =
            fs::is_regular_file(olympiad.outputDir / folder / "webfiles" / "picture.jpg", ec);
        row.picture =
            (present ? msg::overview::picturePresent : msg::overview::pictureMissing).utf8(lang);
    }
    row.readsBack = msg::overview::readsBack.utf8(lang);
    return row;
}

} // namespace

std::vector<OverviewRow> overviewRows(const render::TemplateSet& templates,
                                      const fs::path& outputDir, Lang lang,
                                      render::StateCache* cache) {
    return overviewRows(templates, outputDir, lang, cache, TreeNoteTaker(lang, true, false));
}

std::vector<OverviewRow> overviewRows(const render::TemplateSet& templates,
                                      const fs::path& outputDir, Lang lang,
                                      render::StateCache* cache, const render::NoteTaker& taker) {
    // Reading looks at the files alone: the part sizes play no part in it.
    const model::Olympiad olympiad{outputDir, {}};
    using Key = std::tuple<int, bool, int, std::string>;
    std::vector<std::pair<Key, fs::path>> folders;
    for (auto& folder : render::taskFolders(outputDir)) {
        const auto number = render::folderNumber(folder);
        Key key{groupOf(folder), !number, number.value_or(0), folder.generic_string()};
        folders.emplace_back(std::move(key), std::move(folder));
    }
    std::sort(folders.begin(), folders.end());
    std::vector<OverviewRow> rows;
    rows.reserve(folders.size());
    std::vector<fs::path> listed;
    for (const auto& [key, folder] : folders) {
        rows.push_back(rowOf(templates, olympiad, folder, lang, cache, taker));
        listed.push_back(folder);
    }
    const auto problems = placeProblems(listed, render::sizesInTree(outputDir), lang);
    for (auto& row : rows)
        if (const auto found = problems.find(row.folder); found != problems.end())
            row.problem = found->second;
    return rows;
}

} // namespace kavo::olympiad
