// SPDX-License-Identifier: MIT
#include "core/render/text_pattern.hpp"

#include <algorithm>
#include <array>
#include <cstring>
#include <string.h> // memmem

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace kavo::render {

namespace {

constexpr std::size_t npos = std::string_view::npos;

// The first occurrence of what in text at or after from, by glibc's memmem: quick for a
// short pattern but prepares a long one at length, so it seeks the stretch's beginning.
std::size_t memmemFrom(std::string_view text, std::string_view what, std::size_t from) {
    const std::size_t head = std::min<std::size_t>(what.size(), 48);
    const char* const end = text.data() + text.size() - (what.size() - head);
    for (const char* at = text.data() + from; at < end; ++at) {
        at = static_cast<const char*>(
            memmem(at, static_cast<std::size_t>(end - at), what.data(), head));
        if (!at)
            return npos;
        if (std::memcmp(at + head, what.data() + head, what.size() - head) == 0)
            return static_cast<std::size_t>(at - text.data());
    }
    return npos;
}

// How often a byte stands in page text, roughly: letters, digits, blanks, line breaks and
// the bytes of tags most, other punctuation least. Stretches are sought by their rarest byte.
int commonness(unsigned char c) {
    if ((c >= 'a' && c <= 'z') || c == ' ' || c >= 0xC0)
        return 4;
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '<' || c == '>' || c == '/' ||
        c == '\r' || c == '\n' || c == '.' || c == ',')
        return 3;
    if (c == '"' || c == '=' || c == ';' || c == '&' || c == ':' || c == '-' || c >= 0x80)
        return 2;
    return 1;
}

// The place of the stretch's rarest byte after its first, of the rarest the farthest (a
// line break's LF stands after every CR).
std::size_t probeOf(std::string_view what) {
    // Among the first bytes only: a stretch is sought often, and is long at times.
    const std::size_t end = std::min<std::size_t>(what.size(), 32);
    std::size_t best = 1;
    for (std::size_t i = 1; i < end; ++i)
        if (commonness(static_cast<unsigned char>(what[i])) <=
            commonness(static_cast<unsigned char>(what[best])))
            best = i;
    return best;
}

// The first of the places marked in `mask` (bit i: at + i) where the whole stretch stands;
// npos when none does. Each place that does not is counted in `compared`.
inline std::size_t wholeAt(unsigned mask, const char* base, std::size_t at, std::string_view what,
                           std::size_t& compared) {
    for (; mask != 0; mask &= mask - 1) {
        const std::size_t place = at + static_cast<std::size_t>(__builtin_ctz(mask));
        if (std::memcmp(base + place + 1, what.data() + 1, what.size() - 1) == 0)
            return place;
        ++compared;
    }
    return npos;
}

#if defined(__x86_64__)
// The same search as findFrom's, thirty-two places a step, where the processor can.
// Gives the place found, npos when none lies before `at` (where the search goes on), or
// TooMany when near misses abound.
constexpr std::size_t TooMany = npos - 1;
__attribute__((target("avx2"))) std::size_t findWide(std::string_view text, std::string_view what,
                                                     std::size_t from, std::size_t probe,
                                                     std::size_t& compared, std::size_t& at) {
    const char* const base = text.data();
    const std::size_t last = text.size() - what.size();
    const __m256i first = _mm256_set1_epi8(what[0]);
    const __m256i later = _mm256_set1_epi8(what[probe]);
    for (; at + 31 <= last; at += 32) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(base + at));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(base + at + probe));
        auto mask = static_cast<unsigned>(_mm256_movemask_epi8(
            _mm256_and_si256(_mm256_cmpeq_epi8(a, first), _mm256_cmpeq_epi8(b, later))));
        if (const auto place = wholeAt(mask, base, at, what, compared); place != npos)
            return place;
        if (compared > 64 + (at - from) / 32)
            return TooMany;
    }
    return npos;
}

bool wideSearch() {
    static const bool wide = __builtin_cpu_supports("avx2");
    return wide;
}
#endif

// The first occurrence of what in text at or after from. Many places are looked at in one
// step: those holding the stretch's first byte and its rarest later one; only they are
// compared whole. A text where such pairs abound is left to memmem, whose time stays linear.
std::size_t findFrom(std::string_view text, std::string_view what, std::size_t from) {
    if (from > text.size() || what.size() > text.size() - from)
        return npos;
    if (what.empty())
        return from;
    const char* const base = text.data();
    const std::size_t last = text.size() - what.size(); // the last place it can begin
    std::size_t at = from;
    if (what.size() > 1) {
        // A long search picks its probe and goes wide; a short one starts at once.
        const bool far = last - at >= 4096;
        const std::size_t second = far ? probeOf(what) : std::min<std::size_t>(what.size() - 1, 15);
        std::size_t compared = 0;
#if defined(__x86_64__)
        if (far && wideSearch()) {
            const std::size_t found = findWide(text, what, from, second, compared, at);
            if (found == TooMany)
                return memmemFrom(text, what, at);
            if (found != npos)
                return found;
        }
#endif
#if defined(__SSE2__)
        const __m128i first = _mm_set1_epi8(what[0]);
        const __m128i later = _mm_set1_epi8(what[second]);
        for (; at + 15 <= last; at += 16) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + at));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + at + second));
            auto mask = static_cast<unsigned>(_mm_movemask_epi8(
                _mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, later))));
            if (const auto place = wholeAt(mask, base, at, what, compared); place != npos)
                return place;
            if (compared > 64 + (at - from) / 32)
                return memmemFrom(text, what, at + 16);
        }
#endif
    }
    for (; at <= last; ++at)
        if (base[at] == what[0] &&
            std::memcmp(base + at + 1, what.data() + 1, what.size() - 1) == 0)
            return at;
    return npos;
}

// The last occurrence of what in text beginning at or before pos (as rfind), the places
// holding its first byte found by memrchr and only they compared whole.
std::size_t findLast(std::string_view text, std::string_view what, std::size_t pos) {
    if (what.size() > text.size())
        return npos;
    pos = std::min(pos, text.size() - what.size());
    if (what.empty())
        return pos;
    const char* const base = text.data();
    for (std::size_t end = pos + 1; end > 0;) {
        const void* hit = ::memrchr(base, what[0], end);
        if (!hit)
            return npos;
        const auto at = static_cast<std::size_t>(static_cast<const char*>(hit) - base);
        if (std::memcmp(base + at + 1, what.data() + 1, what.size() - 1) == 0)
            return at;
        end = at;
    }
    return npos;
}

bool endsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

} // namespace

std::size_t findText(std::string_view text, std::string_view what, std::size_t from) {
    return findFrom(text, what, from);
}

namespace {

#if defined(__x86_64__)
// Whether a or b (of one first byte) begins at a place of text[at, ...) that leaves room for
// the longer; `at` is left where the look stopped (TooMany: near misses abound).
__attribute__((target("avx2"))) std::size_t eitherWide(std::string_view text, std::string_view a,
                                                       std::string_view b, std::size_t& at) {
    const char* const base = text.data();
    const std::size_t last = text.size() - std::max(a.size(), b.size());
    const std::size_t pa = probeOf(a), pb = probeOf(b), from = at;
    const __m256i first = _mm256_set1_epi8(a[0]);
    const __m256i laterA = _mm256_set1_epi8(a[pa]), laterB = _mm256_set1_epi8(b[pb]);
    std::size_t compared = 0;
    for (; at + 31 <= last; at += 32) {
        const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(base + at));
        const __m256i ya = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(base + at + pa));
        const __m256i yb = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(base + at + pb));
        auto mask = static_cast<unsigned>(_mm256_movemask_epi8(_mm256_and_si256(
            _mm256_cmpeq_epi8(x, first),
            _mm256_or_si256(_mm256_cmpeq_epi8(ya, laterA), _mm256_cmpeq_epi8(yb, laterB)))));
        for (; mask != 0; mask &= mask - 1) {
            const std::size_t place = at + static_cast<std::size_t>(__builtin_ctz(mask));
            if (std::memcmp(base + place, a.data(), a.size()) == 0 ||
                std::memcmp(base + place, b.data(), b.size()) == 0)
                return place;
            ++compared;
        }
        if (compared > 64 + (at - from) / 32)
            return TooMany;
    }
    return npos;
}
#endif

} // namespace

bool holdsAny(std::string_view text, const std::vector<std::string_view>& stretches) {
    std::size_t at = 0;
#if defined(__x86_64__)
    // Two stretches of one first byte, as the removal texts of a variant are, in one look.
    if (stretches.size() == 2 && stretches[0].size() > 1 && stretches[1].size() > 1 &&
        stretches[0][0] == stretches[1][0] &&
        text.size() >= 4096 + stretches[0].size() + stretches[1].size() && wideSearch()) {
        const std::size_t found = eitherWide(text, stretches[0], stretches[1], at);
        if (found != npos && found != TooMany)
            return true;
        if (found == TooMany)
            at = 0;
    }
#endif
    return std::any_of(stretches.begin(), stretches.end(), [&](std::string_view stretch) {
        return findFrom(text, stretch, std::min(at, text.size())) != npos;
    });
}

std::size_t placeOfMissing(std::string_view text, std::string_view literal, std::size_t from) {
    // Only the stretch's neighbourhood is searched, so that a large typed text costs no more
    // than a small one.
    constexpr std::size_t Neighbourhood = 1 << 16;
    if (from > text.size())
        return from;
    const auto near = text.substr(from, literal.size() + Neighbourhood);
    const auto whole = findFrom(near, literal, 0);
    if (whole != npos)
        return from + whole + literal.size();
    // Every beginning shorter than one that is there is there too: halve the lengths.
    std::size_t there = 0, missing = literal.size();
    std::size_t place = from;
    while (missing - there > 1) {
        const std::size_t length = there + (missing - there) / 2;
        const auto found = near.rfind(literal.substr(0, length));
        if (found != npos) {
            there = length;
            place = from + found + length;
        } else {
            missing = length;
        }
    }
    return place;
}

std::optional<std::vector<Span>> cutLeftmost(const Pattern& pattern, std::string_view text) {
    const auto& literals = pattern.literals;
    // The first and the last stretch stand at the ends: a text that lacks either is not
    // searched.
    if (text.substr(0, literals.front().size()) != literals.front() ||
        (!pattern.minLengths.empty() && !endsWith(text, literals.back())))
        return std::nullopt;
    std::vector<Span> holes;
    holes.reserve(pattern.minLengths.size());
    std::size_t pos = literals.front().size();
    for (std::size_t i = 0; i < pattern.minLengths.size(); ++i) {
        const std::size_t from = pos + pattern.minLengths[i];
        const Text& literal = literals[i + 1];
        const bool last = i + 1 == pattern.minLengths.size();
        const std::size_t at = last
                                   ? (endsWith(text, literal) ? text.size() - literal.size() : npos)
                                   : findFrom(text, literal, from);
        if (at == npos || at < from)
            return std::nullopt;
        holes.push_back({pos, at});
        pos = at + literal.size();
    }
    if (pos != text.size())
        return std::nullopt;
    return holes;
}

std::vector<Span> cutRightmost(const Pattern& pattern, std::string_view text) {
    const auto& literals = pattern.literals;
    std::vector<Span> holes(pattern.minLengths.size());
    std::size_t start = text.size() - literals.back().size();
    // Each stretch at its last place before the next one, from the end back.
    for (std::size_t i = holes.size(); i-- > 0;) {
        const std::size_t limit = start - pattern.minLengths[i];
        const Text& literal = literals[i];
        const std::size_t at = i == 0 ? 0 : findLast(text, literal, limit - literal.size());
        holes[i] = {at + literal.size(), start};
        start = at;
    }
    return holes;
}

std::size_t firstDifference(std::string_view a, std::string_view b) {
    const auto pair = std::mismatch(a.begin(), a.begin() + std::min(a.size(), b.size()), b.begin());
    return static_cast<std::size_t>(pair.first - a.begin());
}

int PatternTree::child(int parent, const Text& literal, std::size_t minLength, bool hole) {
    for (const int index : nodes_[parent].children) {
        const Node& node = nodes_[index];
        if (hole ? node.minLength == minLength : node.literal == literal)
            return index;
    }
    nodes_.push_back(Node{hole ? Text() : literal, hole ? minLength : 0, {}});
    const int index = static_cast<int>(nodes_.size()) - 1;
    Node& node = nodes_[parent];
    // A hole keeps the beginning its next stretches share.
    if (parent != 0 && !hole)
        node.literal = node.children.empty()
                           ? literal
                           : literal.substr(0, firstDifference(node.literal, literal));
    node.children.push_back(index);
    return index;
}

int PatternTree::add(const Pattern& pattern) {
    int node = child(0, pattern.literals.front(), 0, false);
    for (std::size_t i = 0; i < pattern.minLengths.size(); ++i) {
        node = child(node, {}, pattern.minLengths[i], true);
        node = child(node, pattern.literals[i + 1], 0, false);
    }
    if (nodes_[node].terminal < 0) {
        patterns_.push_back(pattern);
        nodes_[node].terminal = static_cast<int>(patterns_.size()) - 1;
    }
    return nodes_[node].terminal;
}

// Each pattern below the literal node whose index `only` holds, cut on its own, in the order
// the walk reaches their ends: a literal node's own pattern, then those below it.
void PatternTree::cutEach(int node, std::string_view text, const std::vector<bool>& only,
                          std::vector<Match>& found) const {
    const int pattern = nodes_[node].terminal;
    if (pattern >= 0 && static_cast<std::size_t>(pattern) < only.size() && only[pattern])
        if (auto holes = cutLeftmost(patterns_[pattern], text))
            found.push_back({pattern, std::move(*holes)});
    for (const int hole : nodes_[node].children)
        for (const int next : nodes_[hole].children)
            cutEach(next, text, only, found);
}

void PatternTree::walk(int literalNode, std::size_t pos, std::string_view text,
                       std::vector<Span>& holes, std::vector<Match>& found,
                       std::size_t* deepest) const {
    for (const int holeIndex : nodes_[literalNode].children) {
        const Node& hole = nodes_[holeIndex];
        const std::size_t from = pos + hole.minLength;
        // Every next stretch begins with the shared beginning: it can only stand where that
        // does. A long beginning comes a few times (once a variant): try those places.
        std::array<std::size_t, 16> places;
        std::size_t count = 0;
        for (auto at = findFrom(text, hole.literal, from); at != npos && count < places.size();
             at = findFrom(text, hole.literal, at + 1))
            places[count++] = at;
        if (count == 0 && !deepest)
            continue;
        const bool fewPlaces = hole.literal.size() >= 8 && count < places.size();
        const auto seek = [&](std::string_view literal) {
            if (!fewPlaces)
                return findFrom(text, literal, count ? places[0] : from);
            for (std::size_t i = 0; i < count; ++i)
                if (text.substr(places[i], literal.size()) == literal)
                    return places[i];
            return npos;
        };
        for (const int next : hole.children) {
            const Node& node = nodes_[next];
            if (node.terminal >= 0) {
                // The last stretch ends the text.
                const bool fits =
                    endsWith(text, node.literal) && text.size() - node.literal.size() >= from;
                if (fits) {
                    holes.push_back({pos, text.size() - node.literal.size()});
                    found.push_back({node.terminal, holes});
                    holes.pop_back();
                } else if (deepest) {
                    const std::size_t near = 2 * node.literal.size() + 64;
                    *deepest = std::max(
                        *deepest,
                        placeOfMissing(text, node.literal,
                                       text.size() > from + near ? text.size() - near : from));
                }
            }
            if (node.children.empty())
                continue;
            const auto at = seek(node.literal);
            if (at == npos) {
                if (deepest)
                    *deepest = std::max(*deepest, placeOfMissing(text, node.literal, from));
                continue;
            }
            if (deepest)
                *deepest = std::max(*deepest, at + node.literal.size());
            holes.push_back({pos, at});
            walk(next, at + node.literal.size(), text, holes, found, deepest);
            holes.pop_back();
        }
    }
}

std::vector<PatternTree::Match> PatternTree::match(std::string_view text,
                                                   std::size_t* deepest) const {
    std::vector<Match> found;
    std::vector<Span> holes;
    for (const int first : nodes_[0].children) {
        const Node& node = nodes_[first];
        if (text.substr(0, node.literal.size()) != node.literal) {
            if (deepest)
                *deepest = std::max(*deepest, firstDifference(text, node.literal));
            continue;
        }
        if (node.terminal >= 0 && text.size() == node.literal.size())
            found.push_back({node.terminal, {}});
        walk(first, node.literal.size(), text, holes, found, deepest);
    }
    withRightmost(text, found);
    return found;
}

std::vector<PatternTree::Match> PatternTree::match(std::string_view text,
                                                   const std::vector<bool>& only) const {
    // The walk finds each pattern's leftmost cut: the same cuts, one pattern at a time.
    std::vector<Match> found;
    for (const int first : nodes_[0].children)
        cutEach(first, text, only, found);
    withRightmost(text, found);
    return found;
}

void PatternTree::withRightmost(std::string_view text, std::vector<Match>& found) const {
    // A leftmost cut exists, so a rightmost one does; where they differ the text holds a
    // stretch of the pattern inside a hole.
    const std::size_t leftmostCount = found.size();
    for (std::size_t i = 0; i < leftmostCount; ++i) {
        auto other = cutRightmost(patterns_[found[i].pattern], text);
        if (other != found[i].holes)
            found.push_back({found[i].pattern, std::move(other)});
    }
}

} // namespace kavo::render
