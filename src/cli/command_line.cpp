// SPDX-License-Identifier: MIT
#include "cli/command_line.hpp"

#include "core/common/messages.hpp"
#include "core/common/xml.hpp"

#include <algorithm>
#include <cstdio>

namespace kavo::cli {

namespace {

// The code point at the start of the bytes and its length; none when they do not begin
// with a whole UTF-8 character.
std::optional<std::pair<char32_t, std::size_t>> decode(std::string_view s) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return std::pair{char32_t(lead), std::size_t(1)};
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || s.size() < length)
        return std::nullopt;
    char32_t c = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return std::nullopt;
        c = (c << 6) | (byte(i) & 0x3F);
    }
    static constexpr char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < least[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return std::nullopt;
    return std::pair{c, length};
}

std::string joined(const std::vector<std::string_view>& words, std::string_view between) {
    std::string out;
    for (const auto& word : words)
        out += (out.empty() ? "" : std::string(between)) + std::string(word);
    return out;
}

std::size_t width(std::string_view utf8) {
    return std::count_if(utf8.begin(), utf8.end(),
                         [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
}

const Option* optionNamed(const Grammar& grammar, std::string_view name) {
    for (const auto& option : grammar.options)
        if (option.name == name || (!option.alias.empty() && option.alias == name))
            return &option;
    return nullptr;
}

std::string placeholder(const Option& option, Lang lang) {
    if (!option.choices.empty())
        return joined(option.choices, "|");
    return std::string(option.value->utf8(lang));
}

// "--into DIR", "-h, --help".
std::string optionWords(const Option& option, Lang lang) {
    std::string words = option.alias.empty() ? "" : std::string(option.alias) + ", ";
    words += option.name;
    if (option.value)
        words += " " + placeholder(option, lang);
    return words;
}

std::string synopsis(const Grammar& grammar, const Command& command, Lang lang) {
    std::string words(command.name);
    for (const auto* operand : command.operands)
        words += " " + std::string(operand->utf8(lang));
    for (const auto& own : command.options)
        if (own.required)
            words += " " + optionWords(*optionNamed(grammar, own.name), lang);
    return words;
}

bool takes(const Command& command, const Option& option) {
    return option.common || std::any_of(command.options.begin(), command.options.end(),
                                        [&](const auto& own) { return own.name == option.name; });
}

// Rows of two columns, the second aligned.
std::string table(const std::vector<std::pair<std::string, std::string>>& rows,
                  std::size_t column) {
    std::string out;
    for (const auto& [left, right] : rows)
        out += "  " + left + std::string(column - width(left), ' ') + right + "\n";
    return out;
}

} // namespace

std::optional<std::string> Parsed::value(std::string_view option) const {
    const auto found = values.find(option);
    return found == values.end() ? std::nullopt : std::optional(found->second);
}

bool isUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const auto one = decode(bytes.substr(i));
        if (!one)
            return false;
        i += one->second;
    }
    return true;
}

std::string shown(std::string_view bytes) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size();) {
        if (const auto one = decode(bytes.substr(i))) {
            out += bytes.substr(i, one->second);
            i += one->second;
        } else {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(bytes[i]));
            out += escaped;
            ++i;
        }
    }
    return out;
}

std::optional<std::string> refusedInDescription(std::string_view utf8) {
    for (std::size_t i = 0; i < utf8.size();) {
        const auto one = decode(utf8.substr(i));
        if (!one)
            return shown(utf8.substr(i, 1));
        if (!markupAllows(one->first)) {
            char name[12];
            std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(one->first));
            return std::string(name);
        }
        i += one->second;
    }
    return std::nullopt;
}

Parse parse(const Grammar& grammar, std::span<const std::string> arguments) {
    Parse result;
    Parsed& parsed = result.parsed;
    std::vector<const Option*> given;
    const auto fault = [](std::optional<Refusal>& slot, Refusal refusal) {
        if (!slot)
            slot = std::move(refusal);
    };
    const auto message = [](const Message& m, std::vector<std::string> args) -> Refusal {
        return [&m, args](Lang lang) {
            switch (args.size()) {
            case 0:
                return std::string(m.utf8(lang));
            case 1:
                return m.utf8(lang, {args[0]});
            case 2:
                return m.utf8(lang, {args[0], args[1]});
            default:
                return m.utf8(lang, {args[0], args[1], args[2]});
            }
        };
    };
    bool optionsEnd = false;
    std::size_t words = 0;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        if (!optionsEnd && word == "--") {
            optionsEnd = true;
            continue;
        }
        if (optionsEnd || word.size() < 2 || word[0] != '-') {
            ++words;
            if (!parsed.command && words == 1) {
                for (const auto& command : grammar.commands)
                    if (command.name == word)
                        parsed.command = &command;
                if (!parsed.command) {
                    std::vector<std::string_view> names;
                    for (const auto& command : grammar.commands)
                        names.push_back(command.name);
                    fault(result.wordFault,
                          message(msg::cli::unknownCommand, {shown(word), joined(names, ", ")}));
                }
                continue;
            }
            const auto index = parsed.operands.size();
            if (!isUtf8(word)) {
                const bool named = parsed.command && index < parsed.command->operands.size();
                fault(result.wordFault, [named, index, word, command = parsed.command](Lang lang) {
                    const auto what =
                        named ? std::string(command->operands[index]->utf8(lang))
                              : msg::cli::argument.utf8(lang, {std::to_string(index + 2)});
                    return msg::cli::notUtf8.utf8(lang, {what, shown(word)});
                });
            }
            parsed.operands.push_back(word);
            continue;
        }
        const auto equals = word.starts_with("--") ? word.find('=') : std::string::npos;
        const std::string name = word.substr(0, equals);
        const Option* option = optionNamed(grammar, name);
        if (!option) {
            fault(result.wordFault, message(msg::cli::unknownOption, {shown(name)}));
            continue;
        }
        const std::string canonical(option->name);
        given.push_back(option);
        if (!option->value) {
            if (equals != std::string::npos)
                fault(result.wordFault, message(msg::cli::takesNoValue, {canonical}));
            parsed.flags.insert(canonical);
            continue;
        }
        std::string value;
        if (equals != std::string::npos) {
            value = word.substr(equals + 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            fault(result.wordFault, message(msg::cli::needsValue, {canonical}));
            continue;
        }
        if (!isUtf8(value))
            fault(result.wordFault, message(msg::cli::notUtf8, {canonical, shown(value)}));
        else if (!option->choices.empty() &&
                 std::find(option->choices.begin(), option->choices.end(), value) ==
                     option->choices.end())
            fault(result.wordFault, message(msg::cli::unknownValue,
                                            {value, canonical, joined(option->choices, ", ")}));
        else if (parsed.values.contains(canonical))
            fault(result.wordFault, message(msg::cli::givenTwice, {canonical}));
        else
            parsed.values.emplace(canonical, value);
    }

    const Command* command = parsed.command;
    if (!command) {
        if (words == 0)
            fault(result.useFault, message(msg::cli::noCommand, {}));
        return result;
    }
    for (const auto* option : given) {
        if (!takes(*command, *option))
            fault(result.useFault, message(msg::cli::notForCommand, {std::string(option->name),
                                                                     std::string(command->name)}));
        else if (!option->needs.empty() && !parsed.values.contains(option->needs) &&
                 !parsed.flags.contains(option->needs))
            fault(result.useFault, message(msg::cli::needsOption, {std::string(option->name),
                                                                   std::string(option->needs)}));
    }
    if (parsed.operands.size() < command->operands.size()) {
        const Message* lacking = command->operands[parsed.operands.size()];
        fault(result.useFault, [command, lacking](Lang lang) {
            return msg::cli::missing.utf8(
                lang, {std::string(command->name), std::string(lacking->utf8(lang))});
        });
    } else if (parsed.operands.size() > command->operands.size()) {
        fault(result.useFault,
              message(msg::cli::extraArgument, {shown(parsed.operands[command->operands.size()])}));
    }
    for (const auto& own : command->options)
        if (own.required && !parsed.values.contains(own.name)) {
            const Option* option = optionNamed(grammar, own.name);
            fault(result.useFault, [command, option](Lang lang) {
                return msg::cli::missing.utf8(
                    lang, {std::string(command->name), optionWords(*option, lang)});
            });
        }
    return result;
}

std::string help(const Grammar& grammar, const Command* command, Lang lang,
                 std::string_view systemLine) {
    const std::string program(grammar.program);
    const std::string more(msg::cli::more.utf8(lang));
    std::string out(msg::cli::usage.utf8(lang));
    std::vector<std::pair<std::string, std::string>> first, common;
    for (const auto& option : grammar.options)
        if (option.common)
            common.emplace_back(optionWords(option, lang), option.help->utf8(lang));
    if (command) {
        out += " " + program + " " + synopsis(grammar, *command, lang) + " " + more + "\n";
        out += std::string(command->name) + ": " + std::string(command->help->utf8(lang)) + "\n";
        for (const auto& own : command->options) {
            const Option& option = *optionNamed(grammar, own.name);
            first.emplace_back(optionWords(option, lang), option.help->utf8(lang));
        }
    } else {
        out += " " + program + " " + std::string(msg::cli::command.utf8(lang)) + " " + more + "\n";
        out += std::string(msg::cli::about.utf8(lang)) + "\n";
        for (const auto& each : grammar.commands)
            first.emplace_back(synopsis(grammar, each, lang), each.help->utf8(lang));
    }
    // The options of a command and the common ones in one column; the commands in their own.
    const auto widest = [](const auto& rows) {
        std::size_t column = 0;
        for (const auto& row : rows)
            column = std::max(column, width(row.first) + 3);
        return column;
    };
    const std::size_t column = std::max(widest(common), command ? widest(first) : 0);
    if (!first.empty()) {
        out += "\n" + std::string((command ? msg::cli::options : msg::cli::commands).utf8(lang)) +
               "\n" + table(first, command ? column : widest(first));
        if (!command)
            out += msg::cli::commandHelp.utf8(lang, {program}) + "\n";
    }
    out += "\n" + std::string(msg::cli::commonOptions.utf8(lang)) + "\n" + table(common, column);
    out +=
        "\n" + std::string(systemLine) + "\n" + std::string(msg::cli::exitCodes.utf8(lang)) + "\n";
    return out;
}

std::string refusalLine(const Grammar& grammar, const Command* command, const Refusal& refusal,
                        Lang lang) {
    std::string program(grammar.program);
    if (command)
        program += " " + std::string(command->name);
    return std::string(grammar.program) + ": " + refusal(lang) + " " +
           msg::cli::seeHelp.utf8(lang, {program});
}

} // namespace kavo::cli
