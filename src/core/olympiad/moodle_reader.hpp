// SPDX-License-Identifier: MIT
#pragma once
// Moodle XML read into the questions and categories of the GIFT reader, so that one
// importer turns both into tasks. libxml2 reads it with no network, no document type and
// no entities of the file's own; every question keeps its line.

#include "core/olympiad/gift_import.hpp"
#include "core/olympiad/gift_reader.hpp"

#include <string_view>
#include <vector>

namespace kavo::olympiad {

// Every question and category of the file in order. A file that cannot be read gives an
// error and nothing; a question of a type no task can take, or a cloze outside what an
// Edits task holds, gives a "left out" row instead of a question. A cloze comes as an
// Edits head ("edits") followed by one "sub" question per gap, each with its one answer
// (the first accepted one when the options say so; severalAccepted counts such gaps).
std::vector<GiftItem> readMoodleXml(std::string_view bytes, std::vector<Problem>& problems,
                                    const ImportOptions& options, std::size_t& severalAccepted);

} // namespace kavo::olympiad
