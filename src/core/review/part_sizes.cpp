// SPDX-License-Identifier: MIT
#include "core/review/part_sizes.hpp"

#include "core/common/codepage.hpp"
#include "core/shell/language.hpp"

#include <string>

namespace kavo::review {

Text message(std::string_view lang, std::string_view english, std::string_view russianUtf8) {
    if (lang == app::English)
        return Text(english);
    return *utf8ToCp1251(russianUtf8, Unencodable::CharacterReference);
}

OkResult confirmPartSizes(PartSizes& sizes, std::string_view edit2, std::string_view edit3,
                          std::string_view edit4, std::string_view lang) {
    PartSizes read = sizes;
    try {
        read.PartASize = parseInt(edit2);
        read.PartBSize = parseInt(edit3);
        read.PartCSize = parseInt(edit4);
    } catch (...) {
        sizes.PartASize = read.PartASize;
        sizes.PartBSize = read.PartBSize;
        throw;
    }

    OkResult result;
    if (read.PartASize < 0 || read.PartBSize < 0 || read.PartCSize < 0) {
        result.refused = true;
        result.messages.push_back(message(lang,
                                          "\nThe number of tasks in a part cannot be negative!",
                                          "\nЧисло задач в части не может быть отрицательным!"));
        return result;
    }

    read.TaskTotal = std::int64_t{read.PartASize} + read.PartBSize + read.PartCSize;
    sizes = read;
    if (sizes.TaskTotal > 99)
        result.messages.push_back(
            message(lang, "\nMax number of tasks is 99!", "\nМаксимальное число задач 99!"));
    if (sizes.PartASize != 0 && sizes.TaskTotal <= 99)
        result.numbers = sizes.TaskTotal;
    if (sizes.PartASize == 0) {
        result.emptyEdit2 = true;
        result.messages.push_back(message(lang, "\n The number of tasks in PartA does not equal 0!",
                                          "Количество задач в части PartA не равно нулю!"));
    }
    return result;
}

std::optional<std::filesystem::path>
taskFolder(const PartSizes& sizes, const std::filesystem::path& outputDir, std::int64_t n) {
    const std::int64_t a = sizes.PartASize, b = sizes.PartBSize;
    const std::string name = std::to_string(n);
    if (n >= 1 && n <= a)
        return sizes.PartBSize > 0 || sizes.PartCSize > 0 ? outputDir / "PartA" / name
                                                          : outputDir / name;
    if (n > a && n <= a + b)
        return outputDir / "PartB" / name;
    if (n > a + b && n <= sizes.TaskTotal)
        return outputDir / "PartC" / name;
    return std::nullopt;
}

} // namespace kavo::review
