// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kavo::test {

// A strict reader of the markup the templates produce: every attribute quoted, void
// elements without a closing tag, every other element closed in order, "&" only as the
// start of a character reference. The web system's server tags ("<%...%>") are kept as
// nodes of their own. It is deliberately stricter than a browser, so a broken template
// shows up here rather than as a page that a browser silently repairs.
struct Node {
    enum class Kind { Element, Text, Server };
    Kind kind = Kind::Element;
    std::string name; // element name (lower case), the text, or the server tag's body
    std::vector<std::pair<std::string, std::string>> attributes;
    std::vector<Node> children;

    std::string attribute(std::string_view key) const;
    bool hasClass(std::string_view cls) const;
};

struct Markup {
    Node root;         // an element named "#root" holding the top-level nodes
    std::string error; // empty when the markup is well formed
};

Markup parseMarkup(std::string_view text);

// Every element below `node` (not `node` itself) whose name is `name`, in document order.
std::vector<const Node*> elements(const Node& node, std::string_view name);
// The text of every text node below `node`, concatenated.
std::string textOf(const Node& node);
// The server tags below `node`.
std::vector<std::string> serverTags(const Node& node);

} // namespace kavo::test
