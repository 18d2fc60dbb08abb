// SPDX-License-Identifier: MIT
#pragma once
// The part sizes of the olympiad, the task number lists they give, and the task folder of
// a number.

#include "core/common/text.hpp"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace kavo::review {

// Set only by Ok. The total is kept in 64 bits so that large sizes cannot wrap.
struct PartSizes {
    std::int32_t PartASize = 0;
    std::int32_t PartBSize = 0;
    std::int32_t PartCSize = 0;
    std::int64_t TaskTotal = 0;
};

struct OkResult {
    std::vector<Text> messages; // each in its own box, in this order
    std::int64_t numbers = 0;   // both lists hold "1" .. numbers (0: both stay empty)
    bool emptyEdit2 = false;
    bool refused = false; // negative sizes: sizes and lists stay as they were
};

// Ok over the texts of Edit2, Edit3 and Edit4, in the interface language lang. A field
// that is not a whole number throws kavo::Error; the sizes read before it keep their new
// values and TaskTotal stays.
OkResult confirmPartSizes(PartSizes& sizes, std::string_view edit2, std::string_view edit3,
                          std::string_view edit4, std::string_view lang);

// The folder of task number n under outputDir by the stored sizes; none outside 1 .. TaskTotal.
std::optional<std::filesystem::path>
taskFolder(const PartSizes& sizes, const std::filesystem::path& outputDir, std::int64_t n);

// The messages of the window in the interface language: the Russian text is given in UTF-8
// and returned in the program's code page.
Text message(std::string_view lang, std::string_view english, std::string_view russianUtf8);

} // namespace kavo::review
