// SPDX-License-Identifier: MIT
#pragma once
// The part sizes of the olympiad, the task number lists they give, and the task folder of
// a number.

#include "core/common/lang.hpp"
#include "core/common/text.hpp"
#include "core/model/task.hpp"

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
                          std::string_view edit4, Lang lang);

// The olympiad of the stored sizes under outputDir.
model::Olympiad olympiadOf(const PartSizes& sizes, const std::filesystem::path& outputDir);

// The folder of task number n under outputDir by the stored sizes; none outside 1 .. TaskTotal.
std::optional<std::filesystem::path>
taskFolder(const PartSizes& sizes, const std::filesystem::path& outputDir, std::int64_t n);

} // namespace kavo::review
