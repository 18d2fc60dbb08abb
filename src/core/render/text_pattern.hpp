// SPDX-License-Identifier: MIT
#pragma once
// Texts made of fixed stretches with holes between them, as a template is with the texts
// typed into it, and where a written text fits them.

#include "core/common/text.hpp"

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace kavo::render {

// Fixed stretches and holes, alternating, first and last a fixed stretch (possibly empty).
struct Pattern {
    std::vector<Text> literals;          // one more than holes
    std::vector<std::size_t> minLengths; // the fewest bytes each hole holds
    bool operator==(const Pattern&) const = default;
};

// The bytes [begin, end) of a text that fill a hole.
struct Span {
    std::size_t begin = 0, end = 0;
    bool operator==(const Span&) const = default;
};

// Many patterns sharing their beginnings, matched against a text in one walk.
class PatternTree {
  public:
    // Adds a pattern and returns its index; an equal pattern added before keeps its index.
    int add(const Pattern& pattern);
    const Pattern& pattern(int index) const { return patterns_[index]; }

    struct Match {
        int pattern;
        std::vector<Span> holes;
    };
    // Every cut of text by a pattern, each pattern once with its leftmost cut and once more
    // with its rightmost cut when that differs: a pattern cuts the text in exactly one way
    // when the two agree. `deepest` gets the furthest offset the text still fitted some
    // pattern (for a text that fits none: the first place that does not match); it costs
    // more, so it is asked for only once a text fitted nothing.
    std::vector<Match> match(std::string_view text, std::size_t* deepest = nullptr) const;
    // The same for the patterns `only` holds (by index) alone, each cut on its own.
    std::vector<Match> match(std::string_view text, const std::vector<bool>& only) const;

  private:
    struct Node {
        Text literal; // a literal node: the stretch; a hole: what all next stretches begin with
        std::size_t minLength; // a hole node: the fewest bytes of the hole
        std::vector<int> children;
        int terminal = -1; // a literal node that ends a pattern: its index
    };
    std::vector<Node> nodes_{Node{}}; // nodes_[0]: the root, whose children are first stretches
    std::vector<Pattern> patterns_;

    void cutEach(int literalNode, std::string_view text, const std::vector<bool>& only,
                 std::vector<Match>& found) const;
    void withRightmost(std::string_view text, std::vector<Match>& found) const;

    int child(int parent, const Text& literal, std::size_t minLength, bool hole);
    void walk(int literalNode, std::size_t pos, std::string_view text, std::vector<Span>& holes,
              std::vector<Match>& found, std::size_t* deepest) const;
};

// The first occurrence of `what` in text at or after `from`, or npos: sixteen places a step,
// linear whatever the text.
std::size_t findText(std::string_view text, std::string_view what, std::size_t from = 0);

// Whether any of the stretches occurs in text.
bool holdsAny(std::string_view text, const std::vector<std::string_view>& stretches);

// The offset of the first byte where a and b differ (the shorter size when one begins the
// other).
std::size_t firstDifference(std::string_view a, std::string_view b);

// Where a stretch expected at or after `from` stops matching text: after it when it is
// there but more text follows, else just past the longest beginning of it that is there
// (searched near `from`; none there: `from`).
std::size_t placeOfMissing(std::string_view text, std::string_view literal, std::size_t from);

// The leftmost cut of text by one pattern (none: it does not fit), and the rightmost one of
// a text that fits.
std::optional<std::vector<Span>> cutLeftmost(const Pattern& pattern, std::string_view text);
std::vector<Span> cutRightmost(const Pattern& pattern, std::string_view text);

} // namespace kavo::render
