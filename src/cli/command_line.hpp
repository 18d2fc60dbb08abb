// SPDX-License-Identifier: MIT
#pragma once
// The command line of a program described by two tables, one of its options and one of its
// commands: parsing, the refusals (one line each, in the run's language) and the help.
//
// To add an option: one row in the program's option table (its name, the placeholder of its
// value or none for a flag, the values it takes if only some, its help line in both
// languages in msg::cli), and its name in the options of every command that takes it (or
// `common` for all of them); the command reads it with Parsed::value or Parsed::flag.
// To add a command: one row in the command table (its name, its operands, its options, its
// help line) and its function in the program's dispatch.

#include "core/common/lang.hpp"

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kavo::cli {

struct Option {
    std::string_view name;                   // "--into"
    std::string_view alias{};                // "-h", or empty
    const Message* value = nullptr;          // the placeholder of its value; none: a flag
    std::vector<std::string_view> choices{}; // the values it takes; empty: any text
    const Message* help = nullptr;
    bool common = false;      // taken by every command, and without one (--help, --version)
    std::string_view needs{}; // another option it works only with
};

struct CommandOption {
    std::string_view name;
    bool required = false;
};

struct Command {
    std::string_view name;
    std::vector<const Message*> operands; // their placeholders, in order
    std::vector<CommandOption> options{}; // its own options, besides the common ones
    const Message* help = nullptr;
};

struct Grammar {
    std::string_view program; // "kavo-olympiad"
    std::span<const Option> options;
    std::span<const Command> commands;
};

struct Parsed {
    const Command* command = nullptr;
    std::vector<std::string> operands;
    std::map<std::string, std::string, std::less<>> values; // by option name
    std::set<std::string, std::less<>> flags;

    std::optional<std::string> value(std::string_view option) const;
    bool flag(std::string_view option) const { return flags.contains(option); }
};

// A command line that cannot run: its one-line report in either language.
using Refusal = std::function<std::string(Lang)>;

struct Parse {
    Parsed parsed;
    // Faults of the words themselves (an unknown option or command, a value not taken, bytes
    // that are not UTF-8): they stop even --help.
    std::optional<Refusal> wordFault;
    // What the command lacks or has too much of: --help and --version still run.
    std::optional<Refusal> useFault;
};

// Options may stand anywhere, as "--name value" or "--name=value"; "--" ends them. The first
// operand is the command.
Parse parse(const Grammar& grammar, std::span<const std::string> arguments);

// The help of the program (no command) or of one command, ending with a line break.
std::string help(const Grammar& grammar, const Command* command, Lang lang,
                 std::string_view systemLine);

// "kavo-olympiad: <fault> (see kavo-olympiad --help)".
std::string refusalLine(const Grammar& grammar, const Command* command, const Refusal& refusal,
                        Lang lang);

// Whether the bytes are UTF-8 (no overlong forms, no surrogates, at most U+10FFFF).
bool isUtf8(std::string_view bytes);
// The bytes for a message: every byte that is not part of UTF-8 text as \xNN.
std::string shown(std::string_view bytes);
// The first character of UTF-8 text that a task description cannot hold, as "U+0007".
std::optional<std::string> refusedInDescription(std::string_view utf8);

} // namespace kavo::cli
