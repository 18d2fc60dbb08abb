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

// Tag names are ASCII: lowered without the locale (a call per byte).
char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

// How much of a typed line the first line of its plain text comes from: up to the end of
// the first tag that stripMarkup makes a line break (<br...>, </p>, </div>, </li>), the
// whole line without one. A tag runs to the first ">" after its "<"; once no ">" is left,
// no tag follows. References hold no ">", so none runs past the cut.
std::size_t firstLineCut(std::string_view typed) {
    for (std::size_t at = typed.find('<'); at != std::string_view::npos;
         at = typed.find('<', at + 1)) {
        // Tags are short: the bytes up to ">" are looked at one by one.
        std::size_t close = at + 1;
        while (close < typed.size() && typed[close] != '>')
            ++close;
        if (close == typed.size())
            break;
        const auto tag = typed.substr(at + 1, close - at - 1);
        const auto lowerIs = [&tag](std::string_view name) {
            return tag.size() == name.size() &&
                   std::equal(tag.begin(), tag.end(), name.begin(),
                              [](char a, char b) { return asciiLower(a) == b; });
        };
        const bool lineBreak =
            tag.size() >= 2 && asciiLower(tag[0]) == 'b' && asciiLower(tag[1]) == 'r';
        if (lineBreak || lowerIs("/p") || lowerIs("/div") || lowerIs("/li"))
            return close + 1;
        at = close;
    }
    return typed.size();
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

// The conditions met so far, each with the folder that holds it first. A condition is
// looked up by its size and a hash of its ends, hashed whole only when another shares
// those, and compared byte for byte only when the whole hashes are equal too: each large
// condition is read about once.
class Conditions {
  public:
    // The folder of an equal condition added before, or none (this one is added).
    const fs::path* add(std::string_view condition, const fs::path& folder) {
        const std::size_t key = endsHash(condition);
        const auto [from, to] = byKey_.equal_range(key);
        std::optional<std::size_t> whole;
        for (auto it = from; it != to; ++it) {
            Entry& other = entries_[it->second];
            if (other.text.size() != condition.size())
                continue;
            if (!whole)
                whole = std::hash<std::string_view>{}(condition);
            if (!other.whole)
                other.whole = std::hash<std::string_view>{}(other.text);
            if (*other.whole == *whole && other.text == condition)
                return &other.folder;
        }
        byKey_.emplace(key, entries_.size());
        entries_.push_back({condition, folder, whole});
        return nullptr;
    }

  private:
    struct Entry {
        std::string_view text;
        fs::path folder;
        std::optional<std::size_t> whole;
    };

    static std::size_t endsHash(std::string_view text) {
        constexpr std::size_t End = 256;
        const std::hash<std::string_view> hash;
        if (text.size() <= 2 * End)
            return hash(text);
        return hash(text.substr(0, End)) ^ (hash(text.substr(text.size() - End)) * 31) ^
               (text.size() * 0x9E3779B97F4A7C15ull);
    }

    std::vector<Entry> entries_;
    std::unordered_multimap<std::size_t, std::size_t> byKey_;
};

} // namespace

std::string conditionLine(const model::Task& task) {
    // Line by line as typed (split at CR LF, as splitLines does, one line at a time: the
    // condition may be large): the page joins lines, the teacher reads the first one. Of a
    // line only the part up to its first break is made plain text.
    const std::string_view condition = task.condition;
    for (std::size_t start = 0; start < condition.size();) {
        const auto end = std::min(condition.find(CRLF, start), condition.size());
        std::string_view typed = condition.substr(start, end - start);
        start = end + CRLF.size();
        typed = typed.substr(0, firstLineCut(typed));
        // Text in ASCII reads the same in both code pages: stripped as it stands.
        std::string plain = stripMarkup(ascii(typed) ? typed : cp1251ToUtf8(typed));
        // A <br> or a paragraph end inside the line ends it too. The line is cut out of the
        // plain text in place: a line of a large condition is not copied again.
        plain.resize(std::min(plain.find('\n'), plain.size()));
        const auto first = plain.find_first_not_of(" \t\r");
        if (first != std::string::npos) {
            plain.resize(plain.find_last_not_of(" \t\r") + 1);
            plain.erase(0, first);
            return plain;
        }
    }
    return {};
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
    const auto rows = overviewRows(templates, outputDir, lang, cache);
    check.folders = rows.size();
    const auto error = [&](const fs::path& folder, std::string text, bool place = false) {
        check.rows.push_back({Severity::Error, folder, std::move(text), place});
    };
    const auto warning = [&](const fs::path& folder, std::string text) {
        check.rows.push_back({Severity::Warning, folder, std::move(text)});
    };

    // Only the kind and the right answer count for the bunching; conditions are compared in
    // place, as the rows hold them.
    std::vector<model::Task> answers;
    Conditions conditions;
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
        if (row.state.status != render::FolderStatus::Written || !row.state.task) {
            // The reason names the folder by its bytes: a Windows-1251 name is shown decoded.
            const auto raw = row.folder.generic_string();
            error(row.folder,
                  raw == render::folderText(row.folder)
                      ? row.state.reason
                      : replaceAll(row.state.reason, raw, render::folderText(row.folder)));
            continue;
        }
        const model::Task& task = *row.state.task;
        if (task.picture && row.picture == msg::overview::pictureMissing.utf8(lang))
            error(row.folder, std::string(m::pictureMissing.utf8(lang)));
        for (const auto& stray : tasks::markupWarnings(task, lang))
            warning(row.folder,
                    m::strayLess.utf8(lang, {cp1251ToUtf8(stray.field), cp1251ToUtf8(stray.text)}));
        if (model::isChoice(task.kind))
            for (int i = 0; i < model::VariantCount; ++i)
                if (task.variants[i] && blank(*task.variants[i]))
                    warning(row.folder,
                            m::blankVariant.utf8(lang, {std::string(1, char('A' + i))}));
        if (!blank(task.condition)) {
            if (const fs::path* first = conditions.add(task.condition, row.folder))
                warning(row.folder, m::sameCondition.utf8(lang, {render::folderText(*first)}));
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
