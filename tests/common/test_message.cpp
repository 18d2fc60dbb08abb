// SPDX-License-Identifier: MIT
// The message table's texts: "%1" .. "%N" for the arguments, "%%" for a literal '%', and the
// count of arguments as part of a message's type.
#include "core/common/error.hpp"
#include "core/common/lang.hpp"
#include "core/olympiad/problem.hpp"

#include <gtest/gtest.h>

#include <span>
#include <vector>

namespace {

using kavo::Lang;
using kavo::Message;
using kavo::olympiad::Note;

// A call with K arguments, written as the program writes it: m.utf8(lang, {a, b}).
template <class M, std::size_t K>
concept TakesArguments = requires(const M& m, const std::string_view (&args)[K]) {
    m.utf8(Lang::English, args);
    m.in(Lang::English, args);
};
template <class M>
concept TakesNoArguments = requires(const M& m) {
    m.utf8(Lang::English);
    m.in(Lang::English);
};
template <class M>
concept NoteWithOne = requires(const M& m) {
    Note{m, {"a"}};
};
template <class M>
concept NoteWithTwo = requires(const M& m) {
    Note{m, {"a", "b"}};
};
template <class M>
concept NoteWithNone = requires(const M& m) {
    Note{m};
    Note{m, {}};
};
template <class M>
concept RefusesAboutAPath = requires(const M& m) {
    kavo::Error::refused(m, "/p");
};
template <class M>
concept RefusesPlainly = requires(const M& m) {
    kavo::Error::refused(m);
};

// Only the message's own count of arguments compiles, in every way a message is used.
static_assert(TakesNoArguments<Message<>> && !TakesArguments<Message<>, 1>);
static_assert(TakesArguments<Message<2>, 2>);
static_assert(!TakesArguments<Message<2>, 1> && !TakesArguments<Message<2>, 3>);
static_assert(!TakesNoArguments<Message<2>>);
static_assert(NoteWithTwo<Message<2>> && !NoteWithOne<Message<2>> && !NoteWithNone<Message<2>>);
static_assert(NoteWithNone<Message<>> && !NoteWithOne<Message<>>);
static_assert(RefusesAboutAPath<Message<1>> && !RefusesPlainly<Message<1>>);
static_assert(RefusesPlainly<Message<>> && !RefusesAboutAPath<Message<>>);
static_assert(!RefusesAboutAPath<Message<2>>);

TEST(MessageText, ArgumentsAreExactlyOneToN) {
    struct Case {
        const char* text;
        int n;
        bool valid;
    };
    const Case cases[] = {
        {"", 0, true},
        {"100%% sure", 0, true},
        {"~%%50%% for several", 0, true},
        {"%1 and %2, then %1", 2, true},
        {"%2 before %1", 2, true},
        {"%1%%", 1, true},
        {"~%50%", 0, false},     // a literal '%' not doubled
        {"100%", 0, false},      // '%' at the end
        {"%1", 0, false},        // more than the message declares
        {"%2", 2, false},        // "%1" missing
        {"%1 and %3", 3, false}, // "%2" missing
        {"%1", 2, false},
        {"%0", 1, false},
        {"%s", 1, false},
        {"%10", 1, false}, // never "%1" and "0"
        {"%%1", 1, false}, // a literal "%1", no argument
    };
    for (const Case& c : cases)
        EXPECT_EQ(kavo::argumentsAre(c.text, c.n), c.valid) << c.text << " with " << c.n;
}

// One pass, left to right: neither an argument nor a "%%" is read again.
TEST(MessageText, ArgumentsReplacedInOnePass) {
    struct Case {
        const char* pattern;
        std::vector<std::string_view> args;
        const char* text;
    };
    const Case cases[] = {
        {"%1 and %2", {"a", "b"}, "a and b"},
        {"%2%1", {"a", "b"}, "ba"},
        {"100%%", {}, "100%"},
        {"~%%50%% for several", {}, "~%50% for several"},
        {"%%1", {}, "%1"},
        {"%1%%", {"50"}, "50%"},
        {"%1", {"%1"}, "%1"},
        {"%1", {"%%"}, "%%"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(kavo::substitute(c.pattern, c.args), c.text) << c.pattern;
}

TEST(MessageText, EachLanguageReadsItsOwnTextWithTheArguments) {
    static constexpr Message<2> written{"Task %1: 100%% in %2", "Задача %1: 100%% в %2"};
    static constexpr Message plain{"Right %%", "Верно %%"};
    EXPECT_EQ(written.utf8(Lang::English, {"7", "PartA"}), "Task 7: 100% in PartA");
    EXPECT_EQ(written.utf8(Lang::Russian, {"7", "PartA"}), "Задача 7: 100% в PartA");
    // Program text is Windows-1251; the arguments are program text already.
    EXPECT_EQ(written.in(Lang::Russian, {"7", "\xC0"}),
              "\xC7\xE0\xE4\xE0\xF7\xE0 7: 100% \xE2 \xC0");
    EXPECT_EQ(plain.utf8(Lang::English), "Right %");
    EXPECT_EQ(plain.in(Lang::Russian), "\xC2\xE5\xF0\xED\xEE %");
    EXPECT_EQ((Note{written, {"7", plain}}.text(Lang::Russian)), "Задача 7: 100% в Верно %");
}

} // namespace
