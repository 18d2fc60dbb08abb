// SPDX-License-Identifier: MIT
#include "core/review/task_review.hpp"
#include "core/common/files.hpp"

#include <string>

namespace kavo::review {

Text openTask(ReviewState& state, const PartSizes& sizes, const std::filesystem::path& outputDir,
              std::optional<int> selected, const std::function<void(int, const Text&)>& show,
              std::string_view lang) {
    if (!selected)
        return message(lang, "\nSelect the task number!", "\nВыберите номер задачи!");
    const std::int64_t n = std::int64_t{*selected} + 1;
    const auto folder = taskFolder(sizes, outputDir, n);
    state.forget();
    if (!folder)
        return {};
    for (int i = 0; i < static_cast<int>(ReviewFiles.size()); ++i)
        show(i, readText(*folder / ReviewFiles[i]));
    state.openedNumber = n;
    state.openedFolder = folder;
    return {};
}

SaveResult saveTask(const ReviewState& state, const PartSizes& sizes,
                    const std::filesystem::path& outputDir, std::optional<int> selected,
                    const std::array<Text, 3>& fields, std::string_view lang) {
    SaveResult result;
    result.select = selected ? *selected + 1 : 0;
    const auto n = selected ? std::optional(std::int64_t{*selected} + 1) : std::nullopt;
    const auto folder = n ? taskFolder(sizes, outputDir, *n) : std::nullopt;

    if (folder && !fields[0].empty()) {
        if (state.openedNumber != n || state.openedFolder != folder) {
            const std::string wanted = std::to_string(*n);
            if (!state.openedNumber)
                result.message = message(lang, "\nOpen task " + wanted + " before saving it!",
                                         "\nСначала откройте задачу " + wanted + "!");
            else {
                const std::string held = std::to_string(*state.openedNumber);
                result.message =
                    message(lang,
                            "\nThe fields hold task " + held + ", not task " + wanted +
                                ". Nothing was saved: open task " + wanted + " first!",
                            "\nВ полях задача " + held + ", а не задача " + wanted +
                                ". Ничего не сохранено: сначала откройте задачу " + wanted + "!");
            }
            return result;
        }
        for (std::size_t i = 0; i < ReviewFiles.size(); ++i)
            writePieces(*folder / ReviewFiles[i], {fields[i]});
        result.message = message(lang, "\nSaved successfully", "\nСохранение было выполнено");
    } else if (fields[0].empty()) {
        result.message = message(lang, "\nCheck the entered data", "\nПроверьте введённые данные");
    }
    return result;
}

} // namespace kavo::review
