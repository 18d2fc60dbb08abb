// SPDX-License-Identifier: MIT
#include "data/markup.hpp"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

TEST(Markup, AcceptsWellFormedPages) {
    const char* pages[] = {
        "<p>x<sup>2</sup> &le; 4 &#8734; &#x221E;</p>",
        "<!DOCTYPE html>\r\n<html><head><meta charset=\"windows-1251\"><style>a { b: c; }</style>"
        "</head><body><br><img src='a.png' alt=\"\"></body></html>",
        "<li><label><%radio()%>\r\nA\r\n</label></li>",
        "<task name=\"a\"><empty/></task>",
    };
    for (const char* page : pages)
        EXPECT_EQ(parseMarkup(page).error, "") << page;
}

TEST(Markup, RejectsBrokenPages) {
    const char* pages[] = {
        "<p>open",         "<p><b>x</p></b>",    "</p>",
        "<td class=x>",    "<td class=\"x\"",    "a < b",
        "Tom & Jerry",     "<a href=\"?a&b\">",  "<%radio()",
        "<input checked>", "<a b=\"1\"c=\"2\">", "<!-- open",
        "<style>p {}",
    };
    for (const char* page : pages)
        EXPECT_NE(parseMarkup(page).error, "") << page;
}

TEST(Markup, KeepsServerTagsAndText) {
    auto markup = parseMarkup("<ol><li class=\"variant a\"><%check()%>one</li><li>two</li></ol>");
    ASSERT_EQ(markup.error, "");
    auto items = elements(markup.root, "li");
    ASSERT_EQ(items.size(), 2u);
    EXPECT_TRUE(items[0]->hasClass("variant"));
    EXPECT_FALSE(items[1]->hasClass("variant"));
    EXPECT_EQ(serverTags(*items[0]), std::vector<std::string>{"check()"});
    EXPECT_EQ(textOf(markup.root), "onetwo");
}

} // namespace
} // namespace kavo::test
