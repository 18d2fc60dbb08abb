// SPDX-License-Identifier: MIT
#include "data/markup.hpp"

#include <algorithm>
#include <cctype>

namespace kavo::test {

namespace {

constexpr std::string_view voidElements[] = {"area",   "base",  "br",    "col",  "embed",
                                             "hr",     "img",   "input", "link", "meta",
                                             "source", "track", "wbr"};
constexpr std::string_view rawTextElements[] = {"script", "style"};

bool isVoid(std::string_view name) {
    return std::find(std::begin(voidElements), std::end(voidElements), name) !=
           std::end(voidElements);
}

bool isRawText(std::string_view name) {
    return std::find(std::begin(rawTextElements), std::end(rawTextElements), name) !=
           std::end(rawTextElements);
}

bool isNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == ':';
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string lower(std::string_view s) {
    std::string out(s);
    for (auto& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

class Parser {
  public:
    explicit Parser(std::string_view text) : text_(text) {}

    Markup run() {
        Markup result;
        result.root.name = "#root";
        std::vector<Node*> open{&result.root};
        while (pos_ < text_.size() && error_.empty()) {
            if (text_.compare(pos_, 2, "<%") == 0)
                server(*open.back());
            else if (text_.compare(pos_, 4, "<!--") == 0)
                comment();
            else if (text_.compare(pos_, 2, "<!") == 0)
                declaration();
            else if (text_.compare(pos_, 2, "</") == 0)
                closing(open);
            else if (text_[pos_] == '<')
                opening(open);
            else
                characters(*open.back());
        }
        if (error_.empty() && open.size() > 1)
            fail("<" + open.back()->name + "> is never closed");
        result.error = error_;
        return result;
    }

  private:
    void fail(const std::string& what) {
        if (error_.empty())
            error_ = what + " (at byte " + std::to_string(pos_) + ")";
    }

    void server(Node& parent) {
        auto end = text_.find("%>", pos_ + 2);
        if (end == std::string_view::npos)
            return fail("server tag without %>");
        Node tag;
        tag.kind = Node::Kind::Server;
        tag.name = std::string(text_.substr(pos_ + 2, end - pos_ - 2));
        parent.children.push_back(std::move(tag));
        pos_ = end + 2;
    }

    void comment() {
        auto end = text_.find("-->", pos_ + 4);
        if (end == std::string_view::npos)
            return fail("comment without -->");
        pos_ = end + 3;
    }

    void declaration() {
        auto end = text_.find('>', pos_);
        if (end == std::string_view::npos ||
            lower(text_.substr(pos_, end + 1 - pos_)) != "<!doctype html>")
            return fail("unknown declaration");
        pos_ = end + 1;
    }

    void closing(std::vector<Node*>& open) {
        std::size_t i = pos_ + 2;
        std::size_t start = i;
        while (i < text_.size() && isNameChar(text_[i]))
            ++i;
        std::string name = lower(text_.substr(start, i - start));
        while (i < text_.size() && isSpace(text_[i]))
            ++i;
        if (name.empty() || i >= text_.size() || text_[i] != '>')
            return fail("malformed closing tag");
        if (open.size() == 1)
            return fail("</" + name + "> closes nothing");
        if (open.back()->name != name)
            return fail("</" + name + "> closes <" + open.back()->name + ">");
        open.pop_back();
        pos_ = i + 1;
    }

    void opening(std::vector<Node*>& open) {
        std::size_t i = pos_ + 1;
        std::size_t start = i;
        while (i < text_.size() && isNameChar(text_[i]))
            ++i;
        if (i == start)
            return fail("a bare '<' in text");
        Node element;
        element.name = lower(text_.substr(start, i - start));
        bool selfClosed = false;
        for (;;) {
            std::size_t gap = i;
            while (i < text_.size() && isSpace(text_[i]))
                ++i;
            if (i >= text_.size())
                return fail("tag <" + element.name + "> without '>'");
            if (text_[i] == '>') {
                ++i;
                break;
            }
            if (text_.compare(i, 2, "/>") == 0) {
                selfClosed = true;
                i += 2;
                break;
            }
            if (i == gap)
                return fail("attributes of <" + element.name + "> not separated by a blank");
            std::size_t nameStart = i;
            while (i < text_.size() && isNameChar(text_[i]))
                ++i;
            if (i == nameStart)
                return fail("bad attribute in <" + element.name + ">");
            std::string key = lower(text_.substr(nameStart, i - nameStart));
            if (i >= text_.size() || text_[i] != '=')
                return fail("attribute " + key + " of <" + element.name + "> has no value");
            ++i;
            if (i >= text_.size() || (text_[i] != '"' && text_[i] != '\''))
                return fail("attribute " + key + " of <" + element.name + "> is not quoted");
            char quote = text_[i++];
            auto end = text_.find(quote, i);
            if (end == std::string_view::npos)
                return fail("unterminated attribute " + key);
            std::string value(text_.substr(i, end - i));
            if (value.find('<') != std::string::npos)
                return fail("'<' inside attribute " + key);
            pos_ = i;
            if (!checkReferences(value))
                return;
            element.attributes.emplace_back(key, value);
            i = end + 1;
        }
        pos_ = i;
        std::string name = element.name;
        open.back()->children.push_back(std::move(element));
        if (selfClosed || isVoid(name))
            return;
        open.push_back(&open.back()->children.back());
        if (isRawText(name)) {
            auto end = text_.find("</" + name, pos_);
            if (end == std::string_view::npos)
                return fail("<" + name + "> is never closed");
            Node raw;
            raw.kind = Node::Kind::Text;
            raw.name = std::string(text_.substr(pos_, end - pos_));
            open.back()->children.push_back(std::move(raw));
            pos_ = end;
        }
    }

    void characters(Node& parent) {
        auto end = std::min(text_.find('<', pos_), text_.size());
        std::string chunk(text_.substr(pos_, end - pos_));
        if (!checkReferences(chunk))
            return;
        Node node;
        node.kind = Node::Kind::Text;
        node.name = std::move(chunk);
        parent.children.push_back(std::move(node));
        pos_ = end;
    }

    // "&" starts "&name;", "&#digits;" or "&#xhex;".
    bool checkReferences(std::string_view s) {
        for (std::size_t at = s.find('&'); at != std::string_view::npos; at = s.find('&', at + 1)) {
            std::size_t i = at + 1;
            if (i < s.size() && s[i] == '#') {
                ++i;
                bool hex = i < s.size() && (s[i] == 'x' || s[i] == 'X');
                if (hex)
                    ++i;
                std::size_t digits = i;
                while (i < s.size() && (hex ? std::isxdigit(static_cast<unsigned char>(s[i]))
                                            : std::isdigit(static_cast<unsigned char>(s[i]))))
                    ++i;
                if (i == digits)
                    i = std::string_view::npos;
            } else {
                std::size_t letters = i;
                while (i < s.size() && std::isalnum(static_cast<unsigned char>(s[i])))
                    ++i;
                if (i == letters)
                    i = std::string_view::npos;
            }
            if (i == std::string_view::npos || i >= s.size() || s[i] != ';') {
                fail("a bare '&'");
                return false;
            }
        }
        return true;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    std::string error_;
};

void collect(const Node& node, std::string_view name, std::vector<const Node*>& out) {
    for (const auto& child : node.children) {
        if (child.kind == Node::Kind::Element && child.name == name)
            out.push_back(&child);
        collect(child, name, out);
    }
}

void collectServer(const Node& node, std::vector<std::string>& out) {
    for (const auto& child : node.children) {
        if (child.kind == Node::Kind::Server)
            out.push_back(child.name);
        collectServer(child, out);
    }
}

} // namespace

std::string Node::attribute(std::string_view key) const {
    for (const auto& [k, v] : attributes)
        if (k == key)
            return v;
    return {};
}

bool Node::hasClass(std::string_view cls) const {
    std::string classes = " " + attribute("class") + " ";
    return classes.find(" " + std::string(cls) + " ") != std::string::npos;
}

Markup parseMarkup(std::string_view text) {
    return Parser(text).run();
}

std::vector<const Node*> elements(const Node& node, std::string_view name) {
    std::vector<const Node*> out;
    collect(node, name, out);
    return out;
}

std::string textOf(const Node& node) {
    if (node.kind == Node::Kind::Text)
        return node.name;
    std::string out;
    for (const auto& child : node.children)
        out += textOf(child);
    return out;
}

std::vector<std::string> serverTags(const Node& node) {
    std::vector<std::string> out;
    collectServer(node, out);
    return out;
}

} // namespace kavo::test
