// SPDX-License-Identifier: MIT
#include "core/common/text.hpp"

#include "core/common/error.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace kavo {

Text normaliseBreaks(std::string_view bytes) {
    Text out;
    out.reserve(bytes.size() + bytes.size() / 16);
    const char* const end = bytes.data() + bytes.size();
    // The next CR and the next LF at or after p; each search starts where the last one
    // ended, so that a text without one of them is still read once.
    auto next = [end](const char* from, char c) {
        const void* at = std::memchr(from, c, static_cast<std::size_t>(end - from));
        return at ? static_cast<const char*>(at) : end;
    };
    const char* p = bytes.data();
    const char* cr = next(p, '\r');
    const char* lf = next(p, '\n');
    while (true) {
        const char* const stop = std::min(cr, lf);
        out.append(p, stop);
        if (stop == end)
            return out;
        out += CRLF;
        p = stop + (*stop == '\r' && stop + 1 != end && stop[1] == '\n' ? 2 : 1);
        if (cr < p)
            cr = next(p, '\r');
        if (lf < p)
            lf = next(p, '\n');
    }
}

Text joinPieces(const Pieces& pieces) {
    std::size_t size = 0;
    for (const auto& piece : pieces)
        size += piece.size() + CRLF.size();
    Text out;
    out.reserve(size);
    for (const auto& piece : pieces) {
        out += piece;
        out += CRLF;
    }
    return out;
}

Pieces splitLines(std::string_view text) {
    Pieces lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = text.find(CRLF, start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + CRLF.size();
    }
    return lines;
}

namespace {

// Sixteen bytes compared at once: GCC and Clang make SSE2 or NEON of it.
using Block = unsigned char __attribute__((vector_size(16)));
constexpr std::size_t BlockSize = sizeof(Block);

Block load(const char* at) {
    Block block;
    std::memcpy(&block, at, BlockSize);
    return block;
}

using Mask = signed char __attribute__((vector_size(16))); // what comparing two Blocks gives

// One bit per byte of a comparison's result, the first byte lowest.
unsigned bitsOf(Mask mask) {
#ifdef __SSE2__
    using Chars = char __attribute__((vector_size(16)));
    return static_cast<unsigned>(__builtin_ia32_pmovmskb128(reinterpret_cast<Chars&>(mask)));
#else
    std::uint64_t halves[2];
    std::memcpy(halves, &mask, sizeof halves);
    // Gathers the top bit of each byte into the top byte of the product.
    constexpr std::uint64_t tops = 0x8080808080808080, gather = 0x0002040810204081;
    return static_cast<unsigned>(((halves[0] & tops) * gather) >> 56) |
           static_cast<unsigned>(((halves[1] & tops) * gather) >> 56) << 8;
#endif
}

Block splat(char c) {
    return Block{} + static_cast<unsigned char>(c);
}

} // namespace

#if defined(__x86_64__) && defined(__GNUC__)
// breaksAreCrLf thirty-two places at a time with AVX2, for the stretch [0, to) of s, where
// s[to] is still in the text: a CR at each place exactly where an LF follows.
__attribute__((target("avx2"))) bool crLfPairedWide(const char* s, std::size_t to) {
    using Wide = unsigned char __attribute__((vector_size(32)));
    using WideMask = signed char __attribute__((vector_size(32)));
    using WideChars = char __attribute__((vector_size(32)));
    const Wide cr = Wide{} + '\r', lf = Wide{} + '\n';
    for (std::size_t i = 0; i < to; i += 128) {
        WideMask odd{};
        for (std::size_t k = i; k < i + 128; k += 32) {
            Wide here, next;
            std::memcpy(&here, s + k, sizeof here);
            std::memcpy(&next, s + k + 1, sizeof next);
            odd |= (here == cr) ^ (next == lf);
        }
        if (__builtin_ia32_pmovmskb256(reinterpret_cast<WideChars&>(odd)) != 0)
            return false;
    }
    return true;
}
#endif

bool breaksAreCrLf(std::string_view text) {
#if defined(__x86_64__) && defined(__GNUC__)
    // Every CR followed by an LF and every LF after a CR: at each place but the last, a CR
    // exactly where an LF follows; the first byte no LF, the last no CR.
    static const bool wide = __builtin_cpu_supports("avx2");
    if (wide && text.size() > 256) {
        const std::size_t n = text.size(), to = (n - 129) / 128 * 128;
        if (text.front() == '\n' || !crLfPairedWide(text.data(), to))
            return false;
        // The places after the stretch one by one.
        const char* const s = text.data();
        for (std::size_t i = to; i + 1 < n; ++i)
            if ((s[i] == '\r') != (s[i + 1] == '\n'))
                return false;
        return text.back() != '\r';
    }
#endif
    // Sixteen bytes at a time: the LFs of a block must stand just after its CRs, the CR
    // ending the block before carried into the first place.
    const char* const s = text.data();
    const std::size_t n = text.size();
    const Block cr = splat('\r'), lf = splat('\n');
    unsigned carry = 0;
    std::size_t i = 0;
    for (; i + BlockSize <= n; i += BlockSize) {
        const Block block = load(s + i);
        const unsigned crs = bitsOf(block == cr), lfs = bitsOf(block == lf);
        if (lfs != (((crs << 1) | carry) & 0xFFFF))
            return false;
        carry = crs >> (BlockSize - 1);
    }
    for (; i < n; ++i) {
        if ((s[i] == '\n') != (carry != 0))
            return false;
        carry = s[i] == '\r';
    }
    return carry == 0;
}

namespace {

// The first bytes of several patterns, each with the bytes that may stand a fixed distance
// after it: what the wide scan below tests.
struct WideFilter {
    static constexpr std::size_t MaxLeads = 4, MaxSeconds = 12;
    std::size_t leads = 0;
    char first[MaxLeads] = {};
    bool any[MaxLeads] = {};       // any byte may follow: a pattern of the lead is shorter
    std::size_t to[MaxLeads] = {}; // the lead's bytes end here in second
    char second[MaxSeconds] = {};
};

#if defined(__x86_64__) && defined(__GNUC__)
// The candidates among the places from, from + 32, ... before to, thirty-two places at a
// time with AVX2: each place whose byte is a lead's first and whose byte `distance` places on
// is one of its seconds goes to out, as its distance from `from`. Every load must lie in the
// text: the caller keeps to + distance + 31 within it.
__attribute__((target("avx2"))) std::size_t scanWide(const char* s, std::size_t from,
                                                     std::size_t to, std::size_t distance,
                                                     const WideFilter& f, std::uint32_t* out) {
    using Wide = unsigned char __attribute__((vector_size(32)));
    using WideMask = signed char __attribute__((vector_size(32)));
    using WideChars = char __attribute__((vector_size(32)));
    Wide firsts[WideFilter::MaxLeads], seconds[WideFilter::MaxSeconds];
    WideMask anys[WideFilter::MaxLeads];
    for (std::size_t j = 0; j < f.leads; ++j) {
        firsts[j] = Wide{} + static_cast<unsigned char>(f.first[j]);
        anys[j] = f.any[j] ? WideMask{} - 1 : WideMask{};
    }
    for (std::size_t k = 0; k < f.to[f.leads - 1]; ++k)
        seconds[k] = Wide{} + static_cast<unsigned char>(f.second[k]);
    std::size_t count = 0;
    for (std::size_t q = from; q < to; q += 32) {
        Wide here, there;
        std::memcpy(&here, s + q, sizeof here);
        std::memcpy(&there, s + q + distance, sizeof there);
        WideMask found{};
        for (std::size_t j = 0, k = 0; j < f.leads; ++j) {
            WideMask next = anys[j];
            for (; k < f.to[j]; ++k)
                next |= there == seconds[k];
            found |= (here == firsts[j]) & next;
        }
        auto bits = static_cast<std::uint32_t>(
            __builtin_ia32_pmovmskb256(reinterpret_cast<WideChars&>(found)));
        for (; bits != 0; bits &= bits - 1)
            out[count++] = static_cast<std::uint32_t>(q - from) +
                           static_cast<std::uint32_t>(std::countr_zero(bits));
    }
    return count;
}

bool wideScanWorks() {
    static const bool works = __builtin_cpu_supports("avx2");
    return works;
}
#else
std::size_t scanWide(const char*, std::size_t, std::size_t, std::size_t, const WideFilter&,
                     std::uint32_t*) {
    return 0;
}
bool wideScanWorks() {
    return false;
}
#endif

// Where several patterns occur, leftmost first and, at one place, the first in the list.
// Candidates are the places where two bytes of a pattern stand, sixteen places at a time: its
// first and last byte when there is one pattern (a near miss rarely shows both), its first two
// when there are several (patterns that share them share the test). Each candidate is compared
// whole. Should the comparisons that fail ever cost more than a few bytes per byte of text (a
// pattern such as "a...ab..a" in "aaaa"), the rest of the text is searched pattern by pattern
// with Knuth-Morris-Pratt, which reads each byte a bounded number of times: the search stays
// linear whatever the text.
class Finder {
  public:
    explicit Finder(std::span<const std::string_view> patterns) {
        second_ = patterns.size() == 1 && !patterns[0].empty() ? patterns[0].size() - 1 : 1;
        leadOf_.fill(-1);
        for (const auto pattern : patterns) {
            Pattern p{pattern, {}, 0, {}};
            if (!pattern.empty()) {
                lead0_ = pattern[0];
                const std::size_t head = std::min(pattern.size(), BlockSize);
                std::memcpy(&p.head, pattern.data(), head);
                p.care = (1u << head) - 1;
                groupOf(pattern).push_back(patterns_.size());
            }
            patterns_.push_back(p);
        }
        for (auto& lead : leads_) {
            lead.from = seconds_.size();
            for (const char c : lead.seconds)
                seconds_.push_back(splat(c));
            lead.to = seconds_.size();
            lead.any = lead.anyGroup >= 0 ? Mask{} - 1 : Mask{};
        }
        wide_.leads = leads_.size() <= WideFilter::MaxLeads &&
                              seconds_.size() <= WideFilter::MaxSeconds && wideScanWorks()
                          ? leads_.size()
                          : 0;
        for (std::size_t j = 0; j < wide_.leads; ++j) {
            wide_.first[j] = static_cast<char>(leads_[j].first[0]);
            wide_.any[j] = leads_[j].anyGroup >= 0;
            wide_.to[j] = leads_[j].to;
            std::copy(leads_[j].seconds.begin(), leads_[j].seconds.end(),
                      wide_.second + leads_[j].from);
        }
    }

    // Calls onHit(position, pattern index) for each occurrence, left to right, the search
    // going on after its end. onHit may overwrite the text before the occurrence's end.
    template <class OnHit> void forEach(std::string_view text, OnHit&& onHit) {
        if (leads_.empty())
            return; // only empty patterns, which never match
        const char* const s = text.data();
        const std::size_t n = text.size();
        std::size_t resume = 0;  // the next occurrence starts here or later
        std::size_t wasted = 0;  // bytes compared without a match
        std::size_t restart = 0; // where the linear search takes over; 0: it does not
        // Reports the occurrence that starts at p, if any, or sets restart when the failed
        // comparisons have cost too much. A candidate of the blocks where all patterns are of
        // one group (one pattern, say) belongs to it without a look.
        const bool oneGroup = groups_.size() == 1;
        auto tryAt = [&](std::size_t p, bool filtered) __attribute__((always_inline)) {
            constexpr auto none = std::string_view::npos;
            std::size_t best = none;
            auto tryGroup = [&](std::int16_t g) {
                for (const std::size_t k : groups_[static_cast<std::size_t>(g)]) {
                    const std::size_t m = patterns_[k].text.size();
                    if (k > best || p + m > n || s[p + m - 1] != patterns_[k].text.back())
                        continue;
                    if (matchesAt(s, n, p, patterns_[k])) {
                        best = k;
                        return;
                    }
                    wasted += m;
                }
            };
            if (filtered && oneGroup) {
                tryGroup(0);
            } else if (const auto l = leadOf_[static_cast<unsigned char>(s[p])]; l >= 0) {
                const Lead& lead = leads_[static_cast<std::size_t>(l)];
                if (p + second_ < n &&
                    lead.bySecond[static_cast<unsigned char>(s[p + second_])] >= 0)
                    tryGroup(lead.bySecond[static_cast<unsigned char>(s[p + second_])]);
                if (lead.anyGroup >= 0)
                    tryGroup(lead.anyGroup);
            }
            if (best != none) {
                onHit(p, best);
                resume = p + patterns_[best].text.size();
                return;
            }
            if (wasted > 4 * p + 4096)
                restart = std::max(resume, p + 1);
        };
        std::size_t i = 0;
        // Blocks whose every load stays inside the text: those that start before blocksEnd.
        const std::size_t blocksEnd = n >= second_ + BlockSize ? n - second_ - BlockSize + 1 : 0;
        // With one first byte, two blocks in a row without it send the search on to its next
        // occurrence by memchr, which outruns the blocks where that byte is rare; where it is
        // frequent, few such pairs occur and the blocks go on.
        const int skipTo = leads_.size() == 1 ? static_cast<unsigned char>(lead0_) : -1;
        // Several first bytes: two blocks at a time, without a branch per lead.
        // Several first bytes where the processor has AVX2: the candidates of a stretch of
        // the text gathered thirty-two places at a time, then tried in order.
        if (skipTo < 0 && wide_.leads > 1) {
            constexpr std::size_t Stretch = 4096;
            std::uint32_t found[Stretch];
            while (restart == 0 && i + BlockSize < blocksEnd) {
                const std::size_t stop = std::min(i + Stretch, blocksEnd - BlockSize);
                const std::size_t count = scanWide(s, i, stop, second_, wide_, found);
                for (std::size_t k = 0; k < count && restart == 0; ++k)
                    if (const std::size_t p = i + found[k]; p >= resume)
                        tryAt(p, true);
                i = std::max(i + (stop - i + 31) / 32 * 32, resume);
            }
        }
        if (skipTo < 0) {
            while (restart == 0 && i + BlockSize < blocksEnd) {
                const Block here0 = load(s + i), there0 = load(s + i + second_);
                const Block here1 = load(s + i + BlockSize),
                            there1 = load(s + i + BlockSize + second_);
                Mask found0{}, found1{};
                for (const auto& lead : leads_) {
                    const Mask first0 = here0 == lead.first, first1 = here1 == lead.first;
                    Mask second0 = lead.any, second1 = lead.any;
                    const Block* const end = seconds_.data() + lead.to;
                    for (const Block* b = seconds_.data() + lead.from; b != end; ++b) {
                        second0 |= there0 == *b;
                        second1 |= there1 == *b;
                    }
                    found0 |= first0 & second0;
                    found1 |= first1 & second1;
                }
                for (std::uint32_t bits = bitsOf(found0) | (std::uint32_t{bitsOf(found1)} << 16);
                     bits != 0 && restart == 0; bits &= bits - 1) {
                    const std::size_t p = i + static_cast<std::size_t>(std::countr_zero(bits));
                    if (p >= resume)
                        tryAt(p, true);
                }
                i = std::max(i + 2 * BlockSize, resume);
            }
        }
        int blocksWithout = 0; // blocks in a row without the first byte
        while (restart == 0 && i < blocksEnd) {
            const Block here = load(s + i), there = load(s + i + second_);
            Mask found{};
            bool firstSeen = false;
            for (const auto& lead : leads_) {
                const Mask first = here == lead.first;
                if (bitsOf(first) == 0) // often so: the second bytes need no test
                    continue;
                firstSeen = true;
                Mask second = lead.any;
                const Block* const end = seconds_.data() + lead.to;
                for (const Block* b = seconds_.data() + lead.from; b != end; ++b)
                    second |= there == *b;
                found |= first & second;
            }
            for (unsigned bits = bitsOf(found); bits != 0 && restart == 0; bits &= bits - 1) {
                const std::size_t p = i + static_cast<std::size_t>(std::countr_zero(bits));
                if (p >= resume)
                    tryAt(p, true);
            }
            i = std::max(i + BlockSize, resume);
            blocksWithout = firstSeen ? 0 : blocksWithout + 1;
            if (blocksWithout >= 2 && skipTo >= 0 && i < blocksEnd) {
                blocksWithout = 0;
                const void* at = std::memchr(s + i, skipTo, blocksEnd - i);
                i = at ? static_cast<std::size_t>(static_cast<const char*>(at) - s) : blocksEnd;
            }
        }
        for (std::size_t p = std::max(i, resume); restart == 0 && p < n;
             p = std::max(p + 1, resume))
            tryAt(p, false);
        if (restart != 0)
            linear(text, restart, onHit);
    }

  private:
    // The patterns that start with one byte. A candidate starts where that byte stands and
    // one of their bytes second_ places on (any byte, for one that is shorter).
    struct Lead {
        Block first;
        Mask any;                               // all set when one of them is shorter
        std::size_t from, to;                   // their bytes second_ places on, in seconds_
        std::array<std::int16_t, 256> bySecond; // in groups_, by the byte second_ places on
        std::int16_t anyGroup;                  // in groups_: the shorter ones
        std::string seconds;                    // the bytes that bySecond holds
    };
    struct Pattern {
        std::string_view text;
        Block head;                      // the first sixteen bytes
        unsigned care;                   // a bit for each byte of head that belongs to text
        std::vector<std::size_t> border; // Knuth-Morris-Pratt, made when it is needed
    };

    // The group of patterns that share the pattern's first byte and its byte second_ places on.
    std::vector<std::size_t>& groupOf(std::string_view pattern) {
        auto& l = leadOf_[static_cast<unsigned char>(pattern[0])];
        if (l < 0) {
            l = static_cast<std::int16_t>(leads_.size());
            Lead lead{splat(pattern[0]), {}, 0, 0, {}, -1, {}};
            lead.bySecond.fill(-1);
            leads_.push_back(lead);
        }
        Lead& lead = leads_[static_cast<std::size_t>(l)];
        auto& g = pattern.size() <= second_
                      ? lead.anyGroup
                      : lead.bySecond[static_cast<unsigned char>(pattern[second_])];
        if (g < 0) {
            g = static_cast<std::int16_t>(groups_.size());
            groups_.emplace_back();
            if (pattern.size() > second_)
                lead.seconds += pattern[second_];
        }
        return groups_[static_cast<std::size_t>(g)];
    }

    // Whether the pattern, which fits in the text at p, stands there: its head in one
    // comparison of sixteen bytes where the text has them.
    static bool matchesAt(const char* s, std::size_t n, std::size_t p, const Pattern& pattern) {
        const std::size_t m = pattern.text.size();
        if (p + BlockSize > n)
            return std::memcmp(s + p, pattern.text.data(), m) == 0;
        return (bitsOf(load(s + p) == pattern.head) & pattern.care) == pattern.care &&
               (m <= BlockSize || std::memcmp(s + p + BlockSize, pattern.text.data() + BlockSize,
                                              m - BlockSize) == 0);
    }

    template <class OnHit> void linear(std::string_view text, std::size_t from, OnHit&& onHit) {
        constexpr auto none = std::string_view::npos;
        std::vector<std::size_t> next(patterns_.size(), none);
        std::vector<bool> known(patterns_.size(), false);
        for (auto& p : patterns_)
            p.border = borders(p.text);
        while (true) {
            std::size_t best = none, bestAt = none;
            for (std::size_t k = 0; k < patterns_.size(); ++k) {
                if (!known[k] || (next[k] != none && next[k] < from)) {
                    next[k] = search(text, from, patterns_[k]);
                    known[k] = true;
                }
                if (next[k] < bestAt) {
                    best = k;
                    bestAt = next[k];
                }
            }
            if (best == none)
                return;
            onHit(bestAt, best);
            from = bestAt + patterns_[best].text.size();
        }
    }

    // For each prefix of the pattern, the length of its longest proper border.
    static std::vector<std::size_t> borders(std::string_view pattern) {
        std::vector<std::size_t> border(pattern.size(), 0);
        for (std::size_t i = 1, k = 0; i < pattern.size(); ++i) {
            while (k > 0 && pattern[i] != pattern[k])
                k = border[k - 1];
            if (pattern[i] == pattern[k])
                ++k;
            border[i] = k;
        }
        return border;
    }

    static std::size_t search(std::string_view text, std::size_t from, const Pattern& p) {
        const std::string_view pattern = p.text;
        if (pattern.empty())
            return std::string_view::npos;
        for (std::size_t i = from, k = 0; i < text.size(); ++i) {
            while (k > 0 && text[i] != pattern[k])
                k = p.border[k - 1];
            if (text[i] == pattern[k] && ++k == pattern.size())
                return i + 1 - k;
        }
        return std::string_view::npos;
    }

    std::vector<Pattern> patterns_;
    std::vector<std::vector<std::size_t>> groups_; // pattern indices, in the list's order
    std::array<std::int16_t, 256> leadOf_;         // in leads_, by first byte
    std::vector<Lead> leads_;
    std::vector<Block> seconds_;
    WideFilter wide_;        // the leads for the wide scan; none when it cannot serve
    std::size_t second_ = 1; // where a filter's second byte stands
    char lead0_ = 0;         // a first byte of the patterns; with one lead, theirs
};

// Below this size a text is searched for one pattern without Finder, whose filters pay for
// their set-up only over longer texts: sixteen places at a time, a candidate where the
// pattern's first and last bytes both stand, compared whole. Should the failed comparisons
// cost more than a few bytes per byte of text, memmem, which stays linear, searches the rest.
constexpr std::size_t ShortText = 4096;

// Calls onHit(position) for each occurrence of one pattern, as Finder does: left to right,
// the search going on after its end; onHit may overwrite the text before that end.
template <class OnHit>
void forEachOf(std::string_view text, std::string_view pattern, OnHit&& onHit) {
    if (text.size() >= ShortText) {
        Finder(std::span(&pattern, 1)).forEach(text, [&](std::size_t at, std::size_t) {
            onHit(at);
        });
        return;
    }
    const char* const s = text.data();
    const char* const p = pattern.data();
    const std::size_t n = text.size(), m = pattern.size();
    if (m == 0 || m > n)
        return;
    std::size_t from = 0, wasted = 0;
    // Whether the pattern stands at a candidate at or after from; false once the search has
    // handed over to memmem.
    const auto tryAt = [&](std::size_t at) {
        if (std::memcmp(s + at, p, m) == 0) {
            onHit(at);
            from = at + m;
        } else {
            wasted += m;
        }
        return wasted <= 2 * n + 256;
    };
    bool filtered = true;
    const Block first = splat(p[0]), last = splat(p[m - 1]);
    std::size_t i = 0;
    for (; filtered && i + m - 1 + BlockSize <= n; i = std::max(i + BlockSize, from)) {
        // Candidates are found in bytes the hits have not overwritten: those from `from` on.
        for (unsigned bits = bitsOf((load(s + i) == first) & (load(s + i + m - 1) == last));
             filtered && bits != 0; bits &= bits - 1)
            if (const std::size_t at = i + static_cast<std::size_t>(std::countr_zero(bits));
                at >= from)
                filtered = tryAt(at);
    }
    for (std::size_t at = std::max(i, from); filtered && at + m <= n; at = std::max(at + 1, from))
        if (s[at] == p[0] && s[at + m - 1] == p[m - 1])
            filtered = tryAt(at);
    if (filtered)
        return;
    while (from + m <= n) {
        const void* found = ::memmem(s + from, n - from, p, m);
        if (!found)
            return;
        const auto at = static_cast<std::size_t>(static_cast<const char*>(found) - s);
        onHit(at);
        from = at + m;
    }
}

} // namespace

Text replaceAll(std::string_view text, std::string_view pattern, std::string_view with) {
    const Replacement one[] = {{pattern, with}};
    return replaceEach(text, one);
}

Text replaceEach(std::string_view text, std::span<const Replacement> replacements) {
    std::vector<std::string_view> patterns;
    for (const auto& r : replacements)
        patterns.push_back(r.pattern);
    // Room for growth up front where a replacement is longer than its pattern: a large text
    // is then not copied again, and reserved pages that stay unwritten cost no memory.
    const bool grows = std::any_of(replacements.begin(), replacements.end(),
                                   [](const auto& r) { return r.with.size() > r.pattern.size(); });
    Text out;
    out.reserve(grows ? 2 * text.size() : text.size());
    std::size_t kept = 0;
    const auto put = [&](std::size_t at, std::size_t k) {
        out.append(text.data() + kept, at - kept);
        out.append(replacements[k].with);
        kept = at + patterns[k].size();
    };
    if (patterns.size() == 1)
        forEachOf(text, patterns[0], [&](std::size_t at) { put(at, 0); });
    else
        Finder(patterns).forEach(text, put);
    out.append(text.data() + kept, text.size() - kept);
    return out;
}

void replaceEach(std::string_view text, std::span<const Replacement> replacements,
                 const std::function<void(std::string_view)>& put) {
    std::vector<std::string_view> patterns;
    for (const auto& r : replacements)
        patterns.push_back(r.pattern);
    // Gathered in a part small enough to stay in the processor's cache until it is put.
    constexpr std::size_t PartSize = 256 << 10;
    Text part;
    part.reserve(PartSize);
    auto add = [&](std::string_view piece) {
        if (part.size() + piece.size() > PartSize) {
            if (!part.empty())
                put(part);
            part.clear();
            if (piece.size() >= PartSize) {
                put(piece);
                return;
            }
        }
        part.append(piece);
    };
    std::size_t kept = 0;
    Finder(patterns).forEach(text, [&](std::size_t at, std::size_t k) {
        add(text.substr(kept, at - kept));
        add(replacements[k].with);
        kept = at + patterns[k].size();
    });
    add(text.substr(kept));
    if (!part.empty())
        put(part);
}

// Deletes every occurrence of pattern in place: the same matches as replaceAll with an
// empty replacement, without a second copy of a large page. Returns where the search
// stopped in the text as it was: after the last occurrence, or 0.
static std::size_t eraseAll(Text& text, std::string_view pattern) {
    char* const s = text.data();
    std::size_t write = 0, read = 0;
    forEachOf(text, pattern, [&](std::size_t at) {
        std::memmove(s + write, s + read, at - read);
        write += at - read;
        read = at + pattern.size();
    });
    std::memmove(s + write, s + read, text.size() - read);
    text.resize(write + text.size() - read);
    return read;
}

void eraseEvery(Text& text, std::string_view what) {
    eraseAll(text, what);
}

void replaceEvery(Text& text, std::string_view pattern, std::string_view with) {
    if (with.size() <= pattern.size()) {
        // Left to right: the result never overtakes the search, which reads only past the
        // occurrence it reported; nothing moves before the first occurrence.
        char* const s = text.data();
        std::size_t write = 0, read = 0;
        forEachOf(text, pattern, [&](std::size_t at) {
            if (write != read)
                std::memmove(s + write, s + read, at - read);
            write += at - read;
            std::memcpy(s + write, with.data(), with.size());
            write += with.size();
            read = at + pattern.size();
        });
        if (write != read) {
            std::memmove(s + write, s + read, text.size() - read);
            text.resize(write + text.size() - read);
        }
        return;
    }
    std::vector<std::size_t> hits;
    forEachOf(text, pattern, [&](std::size_t at) { hits.push_back(at); });
    if (hits.empty())
        return;
    const std::size_t size = text.size(), grown = with.size() - pattern.size();
    const std::size_t result = size + hits.size() * grown;
    if (result > text.capacity()) {
        Text out;
        out.reserve(result);
        std::size_t kept = 0;
        for (const std::size_t at : hits) {
            out.append(text, kept, at - kept).append(with);
            kept = at + pattern.size();
        }
        out.append(text, kept);
        text = std::move(out);
        return;
    }
    // Right to left in the room the capacity leaves: each stretch moves once, to its place.
    text.resize(result);
    char* const s = text.data();
    std::size_t end = size; // the stretch still to move ends here in the text as it was
    for (std::size_t k = hits.size(); k-- > 0;) {
        const std::size_t from = hits[k] + pattern.size();
        const std::size_t shift = (k + 1) * grown;
        std::memmove(s + from + shift, s + from, end - from);
        std::memcpy(s + hits[k] + k * grown, with.data(), with.size());
        end = hits[k];
    }
}

void removeBlock(Pieces& page, std::string_view templateText) {
    if (page.size() != 1) {
        // Room for the breaks the next removals append (a page takes at most six), so that
        // none of them moves the page.
        Text joined;
        std::size_t size = 16;
        for (const auto& piece : page)
            size += piece.size() + CRLF.size();
        joined.reserve(size);
        for (const auto& piece : page)
            joined.append(piece).append(CRLF);
        eraseAll(joined, templateText);
        page.assign(1, std::move(joined));
        return;
    }
    // A page of one piece is written with a CR LF after it: delete the occurrences inside
    // the piece in place, then those that reach into that CR LF, without copying the piece.
    Text& text = page.front();
    const std::size_t size = text.size();
    const std::size_t searched = eraseAll(text, templateText);
    const std::size_t reach = templateText.size() > 1 ? templateText.size() - 1 : 0;
    const std::size_t tail = size - std::max(searched, size > reach ? size - reach : 0);
    Text end = text.substr(text.size() - tail);
    end += CRLF;
    text.resize(text.size() - tail);
    text += replaceAll(end, templateText, "");
}

Pieces deleteInLines(const Pieces& lines, std::string_view what) {
    Text joined = joinPieces(lines);
    eraseAll(joined, what);
    return splitLines(joined);
}

static int digitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 99;
}

std::int32_t parseInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    }
    if (i == text.size())
        throw Error::notInteger(std::string(text));
    // Decimal must fit the signed range; hexadecimal may use all 32 bits.
    const std::uint64_t limit =
        base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = digitValue(text[i]);
        if (digit >= base)
            throw Error::notInteger(std::string(text));
        value = value * base + digit;
        if (value > limit)
            throw Error::notInteger(std::string(text));
    }
    const auto bits = static_cast<std::uint32_t>(negative ? (~value + 1) : value);
    return static_cast<std::int32_t>(bits);
}

} // namespace kavo
