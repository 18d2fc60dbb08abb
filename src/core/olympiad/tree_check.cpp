// SPDX-License-Identifier: MIT
#include "core/olympiad/tree_check.hpp"

#include "core/common/codepage.hpp"
#include "core/common/messages.hpp"
#include "core/common/text.hpp"
#include "core/olympiad/olympiad_check.hpp"
#include "core/olympiad/page_text.hpp"
#include "core/olympiad/source_text.hpp"
#include "core/olympiad/tree_overview.hpp"
#include "core/olympiad/tree_read.hpp"
#include "core/render/task_tree.hpp"
#include "core/tasks/markup_check.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <set>
#include <string_view>
#include <system_error>
#include <unordered_map>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace kavo::olympiad {

namespace {

// Blanks a page shows as nothing: spaces, tabs, line breaks and "&nbsp;".
bool blank(std::string_view text) {
    while (!text.empty()) {
        if (text.front() == ' ' || text.front() == '\t' || text.front() == '\r' ||
            text.front() == '\n' || text.front() == '\xA0')
            text.remove_prefix(1);
        else if (text.size() >= 6 &&
                 std::equal(text.begin(), text.begin() + 6, "&nbsp;", [](char a, char b) {
                     return std::tolower(static_cast<unsigned char>(a)) == b;
                 }))
            text.remove_prefix(6);
        else
            return false;
    }
    return true;
}

// Number-named entries of the numbered groups that are no folder: no task can be there.
std::vector<fs::path> filesInPlace(const fs::path& outputDir) {
    std::vector<fs::path> found;
    for (const char* group : render::Groups) {
        std::error_code ec;
        fs::directory_iterator it(outputDir / group, ec);
        for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
            const auto relative = fs::path(group) / it->path().filename();
            if (render::folderNumber(relative) && !it->is_directory(ec))
                found.push_back(relative.lexically_normal());
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

// "04" or "007": a number with leading zeros, which the program never gives a task.
std::optional<int> zeroPaddedNumber(const fs::path& folder) {
    const auto name = folder.filename().string();
    if (name.size() < 2 || name.front() != '0' ||
        !std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const auto digits = name.find_first_not_of('0');
    if (digits == std::string::npos || name.size() - digits > 2)
        return std::nullopt;
    return std::stoi(name.substr(digits));
}

// Where the sizes found put a number: a tree with part folders holds every task in its part,
// even while parts B and C are empty; one without holds them directly.
std::optional<fs::path> placeOf(int number, const model::PartSizes& sizes, bool parts) {
    const auto name = std::to_string(number);
    if (!parts)
        return number <= sizes.total() ? std::optional(fs::path(name)) : std::nullopt;
    if (number <= sizes.a)
        return fs::path("PartA") / name;
    if (number <= std::int64_t{sizes.a} + sizes.b)
        return fs::path("PartB") / name;
    if (number <= sizes.total())
        return fs::path("PartC") / name;
    return std::nullopt;
}

// Whether every byte is below 0x80: eight at a time.
bool ascii(std::string_view text) {
    std::size_t at = 0;
    for (; at + 8 <= text.size(); at += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + at, 8);
        if (word & 0x8080808080808080ull)
            return false;
    }
    for (; at < text.size(); ++at)
        if (static_cast<unsigned char>(text[at]) >= 0x80)
            return false;
    return true;
}

// A hash of the bytes, four lanes of eight bytes a step: equal texts hash alike, and a
// condition is hashed once as it is read (equal hashes are proved by comparing the bytes).
std::uint64_t textHash(std::string_view text) {
    constexpr std::uint64_t P1 = 0x9E3779B185EBCA87ull, P2 = 0xC2B2AE3D27D4EB4Full,
                            P3 = 0x165667B19E3779F9ull;
    const auto rotl = [](std::uint64_t x, int r) { return (x << r) | (x >> (64 - r)); };
    const auto round = [&](std::uint64_t acc, std::uint64_t input) {
        return rotl(acc + input * P2, 31) * P1;
    };
    std::uint64_t a = P1 + P2, b = P2, c = 0, d = 0 - P1;
    const char* p = text.data();
    std::size_t left = text.size();
    const auto word = [](const char* at) {
        std::uint64_t w;
        std::memcpy(&w, at, 8);
        return w;
    };
    for (; left >= 32; p += 32, left -= 32) {
        a = round(a, word(p));
        b = round(b, word(p + 8));
        c = round(c, word(p + 16));
        d = round(d, word(p + 24));
    }
    std::uint64_t h = rotl(a, 1) + rotl(b, 7) + rotl(c, 12) + rotl(d, 18) + text.size() * P3;
    for (; left > 0; ++p, --left)
        h = rotl(h ^ (static_cast<unsigned char>(*p) * P3), 11) * P1;
    h ^= h >> 33;
    h *= P2;
    h ^= h >> 29;
    return h;
}

// A hash of a condition's size and of pieces spread over it, taken as the condition is read
// at no cost of note: conditions that share it are hashed whole, and those compared, on
// reading them again.
std::uint64_t sampleHash(std::string_view text) {
    constexpr std::size_t Piece = 64, Pieces = 16;
    if (text.size() <= Piece * Pieces)
        return textHash(text);
    char samples[Piece * Pieces];
    for (std::size_t i = 0; i < Pieces; ++i)
        std::memcpy(samples + i * Piece, text.data() + (text.size() - Piece) * i / (Pieces - 1),
                    Piece);
    return textHash({samples, sizeof samples}) ^ text.size();
}

// The whole hash of the condition the folder holds now, when it reads back.
std::optional<std::uint64_t> wholeHash(const render::TemplateSet& templates,
                                       const model::Olympiad& olympiad, const fs::path& folder) {
    std::optional<std::uint64_t> hash;
    render::readAnyTaskInPlace(templates, olympiad, folder, std::nullopt,
                               [&](render::ReadResult& read, std::string_view condition) {
                                   if (read.status == render::ReadStatus::Read)
                                       hash = textHash(condition);
                               });
    return hash;
}

// Whether the two folders hold the same condition, read again both and compared byte for
// byte (either may have changed since it was hashed).
bool sameCondition(const render::TemplateSet& templates, const model::Olympiad& olympiad,
                   const fs::path& first, const fs::path& second) {
    const auto earlier = render::readAnyTask(templates, olympiad, first);
    if (earlier.status != render::ReadStatus::Read || !earlier.task)
        return false;
    bool same = false;
    render::readAnyTaskInPlace(templates, olympiad, second, std::nullopt,
                               [&](render::ReadResult& read, std::string_view condition) {
                                   same = read.status == render::ReadStatus::Read &&
                                          condition == earlier.task->condition;
                               });
    return same;
}

} // namespace

std::string conditionLine(const model::Task& task) {
    return conditionLine(task.condition, std::string::npos);
}

std::string conditionLine(std::string_view condition, std::size_t limit) {
    // Line by line as typed (split at CR LF, as splitLines does, one line at a time: the
    // condition may be large): the page joins lines, the teacher reads the first one. Of a
    // line only the part up to its first break (or the limit) is made plain text, into room
    // kept for the next line, and copied out of it once.
    thread_local std::string room;
    struct Trim {
        ~Trim() {
            if (room.capacity() > (std::size_t{16} << 20))
                std::string().swap(room);
        }
    } trim;
    for (std::size_t start = 0; start < condition.size();) {
        const auto end = std::min(condition.find(CRLF, start), condition.size());
        const std::string_view typed = condition.substr(start, end - start);
        start = end + CRLF.size();
        if (room.size() < typed.size())
            room.resize(typed.size());
        std::size_t consumed = 0;
        std::size_t size = stripMarkupInto(room.data(), typed, true, &consumed, limit);
        // Text in ASCII reads the same in both code pages: stripped as it stands; other text
        // is decoded first, as far as it was read (each character gives a byte or more).
        if (!ascii(typed.substr(0, consumed))) {
            const std::string decoded = cp1251ToUtf8(typed.substr(0, consumed));
            if (room.size() < decoded.size())
                room.resize(decoded.size());
            size = stripMarkupInto(room.data(), decoded, true, nullptr, limit);
        }
        // Cut at the limit on a character's first byte.
        bool cut = size > limit;
        if (cut) {
            size = limit;
            while (size > 0 && (static_cast<unsigned char>(room[size]) & 0xC0) == 0x80)
                --size;
        }
        // A <br> or a paragraph end inside the line ends it too.
        std::string_view plain(room.data(), size);
        if (const auto feed = plain.find('\n'); feed != std::string_view::npos) {
            plain = plain.substr(0, feed);
            cut = false;
        }
        const auto first = plain.find_first_not_of(" \t\r");
        if (first != std::string_view::npos)
            return std::string(plain.substr(first, plain.find_last_not_of(" \t\r") + 1 - first)) +
                   (cut ? "\u2026" : "");
    }
    return {};
}

std::shared_ptr<const render::TaskNotes>
TreeNoteTaker::take(const model::Task& task, std::string_view condition,
                    const render::TaskNotes* before) const {
    auto notes = std::make_shared<TreeNotes>();
    if (const auto* kept = dynamic_cast<const TreeNotes*>(before))
        *notes = *kept;
    if (line_ && !notes->line)
        notes->line = std::make_shared<const std::string>(conditionLine(condition, CellLimit));
    if (check_ && !notes->check)
        notes->check = TreeNotes::Check{tasks::markupWarnings(task, condition, lang_),
                                        blank(condition), condition.size(), sampleHash(condition)};
    return notes;
}

bool TreeNoteTaker::serves(const render::TaskNotes& notes) const {
    const auto* kept = dynamic_cast<const TreeNotes*>(&notes);
    return kept && (!line_ || kept->line) && (!check_ || kept->check);
}

std::map<fs::path, std::string> placeProblems(const std::vector<fs::path>& folders,
                                              const model::PartSizes& sizes, Lang lang) {
    std::map<int, std::vector<fs::path>> byNumber;
    bool parts = false;
    for (const auto& folder : folders)
        if (const auto number = render::folderNumber(folder);
            number && render::inNumberedGroup(folder)) {
            byNumber[*number].push_back(folder);
            parts = parts || folder.has_parent_path();
        }
    std::map<fs::path, std::string> problems;
    const auto add = [&](const fs::path& folder, const std::string& text) {
        auto& reason = problems[folder];
        reason += (reason.empty() ? "" : " ") + text;
    };
    const auto n = [](std::int64_t value) { return std::to_string(value); };
    for (const auto& [number, held] : byNumber) {
        if (held.size() > 1) {
            std::string all;
            for (const auto& folder : held)
                all += (all.empty() ? "" : ", ") + render::folderText(folder);
            for (const auto& folder : held)
                add(folder, msg::treeCheck::duplicate.utf8(lang, {n(number), all}));
        }
        const auto place = placeOf(number, sizes, parts);
        for (const auto& folder : held) {
            if (place && *place == folder)
                continue;
            const std::string a = n(sizes.a), b = n(sizes.b), c = n(sizes.c);
            add(folder, place ? msg::treeCheck::outside.utf8(
                                    lang, {n(number), a, b, c, place->generic_string()})
                              : msg::treeCheck::outsideAll.utf8(lang, {n(number), a, b, c}));
        }
    }
    return problems;
}

std::size_t TreeCheck::count(Severity severity) const {
    return static_cast<std::size_t>(
        std::count_if(rows.begin(), rows.end(),
                      [severity](const CheckRow& r) { return r.severity == severity; }));
}

bool TreeCheck::stopsExport() const {
    return std::any_of(rows.begin(), rows.end(), [](const CheckRow& r) { return r.placeError; });
}

std::string rowText(const CheckRow& row, Lang lang) {
    const std::string where = row.folder.empty() ? std::string(msg::treeCheck::olympiad.utf8(lang))
                                                 : render::folderText(row.folder);
    return msg::treeCheck::row.utf8(lang, {where, row.text});
}

TreeCheck checkTree(const render::TemplateSet& templates, const fs::path& outputDir, Lang lang,
                    render::StateCache* cache) {
    namespace m = msg::treeCheck;
    TreeCheck check;
    check.sizes = render::sizesInTree(outputDir);
    const TreeNoteTaker taker(lang, false, true);
    const auto rows = overviewRows(templates, outputDir, lang, cache, taker);
    check.folders = rows.size();
    const auto error = [&](const fs::path& folder, std::string text, bool place = false) {
        check.rows.push_back({Severity::Error, folder, std::move(text), place});
    };
    const auto warning = [&](const fs::path& folder, std::string text) {
        check.rows.push_back({Severity::Warning, folder, std::move(text)});
    };

    // Only the kind and the right answer count for the bunching. Conditions are met by size
    // and sampled hash, each with the folders of its distinct texts so far; a match is
    // hashed whole and compared byte for byte, on reading both folders again.
    std::vector<model::Task> answers;
    const model::Olympiad olympiad{outputDir, {}};
    std::map<std::pair<std::size_t, std::uint64_t>, std::vector<fs::path>> conditions;
    std::map<fs::path, std::optional<std::uint64_t>> wholeHashes;
    std::set<int> held;
    bool parts = false;
    for (const auto& row : rows) {
        if (row.number && render::inNumberedGroup(row.folder)) {
            held.insert(*row.number);
            parts = parts || row.folder.has_parent_path();
        }
        if (!row.problem.empty())
            error(row.folder, row.problem, true);
        if (const auto padded = zeroPaddedNumber(row.folder);
            padded && render::inNumberedGroup(row.folder))
            warning(row.folder, m::leadingZero.utf8(lang, {std::to_string(*padded)}));
        const auto* notes = dynamic_cast<const TreeNotes*>(row.state.notes.get());
        if (row.state.status != render::FolderStatus::Written || !row.state.task || !notes ||
            !notes->check) {
            // The reason names the folder by its bytes: a Windows-1251 name is shown decoded.
            const auto raw = row.folder.generic_string();
            error(row.folder,
                  raw == render::folderText(row.folder)
                      ? row.state.reason
                      : replaceAll(row.state.reason, raw, render::folderText(row.folder)));
            continue;
        }
        const model::Task& task = *row.state.task;
        const TreeNotes::Check& noted = *notes->check;
        if (task.picture && row.picture == msg::overview::pictureMissing.utf8(lang))
            error(row.folder, std::string(m::pictureMissing.utf8(lang)));
        for (const auto& stray : noted.strays)
            warning(row.folder,
                    m::strayLess.utf8(lang, {cp1251ToUtf8(stray.field), cp1251ToUtf8(stray.text)}));
        if (model::isChoice(task.kind))
            for (int i = 0; i < model::VariantCount; ++i)
                if (task.variants[i] && blank(*task.variants[i]))
                    warning(row.folder,
                            m::blankVariant.utf8(lang, {std::string(1, char('A' + i))}));
        if (!noted.blank) {
            auto& met = conditions[{noted.size, noted.hash}];
            // Conditions alike in their samples are hashed whole, and equal hashes compared.
            const auto whole = [&](const fs::path& folder) {
                const auto known = wholeHashes.find(folder);
                if (known != wholeHashes.end())
                    return known->second;
                return wholeHashes[folder] = wholeHash(templates, olympiad, folder);
            };
            const auto same = std::find_if(met.begin(), met.end(), [&](const fs::path& first) {
                const auto one = whole(row.folder);
                return one && whole(first) == one &&
                       sameCondition(templates, olympiad, first, row.folder);
            });
            if (same != met.end())
                warning(row.folder, m::sameCondition.utf8(lang, {render::folderText(*same)}));
            else
                met.push_back(row.folder);
        }
        model::Task answer;
        answer.kind = task.kind;
        answer.answer = task.answer;
        answers.push_back(std::move(answer));
    }

    // Numbers of the parts found with no task, and entries where a task folder belongs.
    const auto files = filesInPlace(outputDir);
    for (const auto& file : files)
        error(file, msg::marks::notAFolder.utf8(lang, {render::folderText(file)}));
    for (int n = 1; n <= std::min<std::int64_t>(check.sizes.total(), 99); ++n) {
        const auto place = placeOf(n, check.sizes, parts);
        if (place && !held.contains(n) && !std::binary_search(files.begin(), files.end(), *place))
            warning(*place, m::hole.utf8(lang, {std::to_string(n)}));
    }

    if (const auto bunched = answersBunched(answers))
        warning({}, m::bunched.utf8(lang, {std::to_string(bunched->count),
                                           std::to_string(bunched->singleChoice),
                                           std::string(1, char('A' + bunched->variant))}));
    // Errors apart from warnings, each in the order of the overview.
    std::stable_partition(check.rows.begin(), check.rows.end(),
                          [](const CheckRow& r) { return r.severity == Severity::Error; });
    return check;
}

} // namespace kavo::olympiad
