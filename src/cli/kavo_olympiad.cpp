// SPDX-License-Identifier: MIT
// kavo-olympiad: checks an olympiad file, imports it into a task tree, exports a task tree.
// It links only the core and says everything the window says, in the same words. Its
// commands and options are the two tables below (see cli/command_line.hpp to add one).
#include "cli/command_line.hpp"
#include "core/auth/author.hpp"
#include "core/common/error.hpp"
#include "core/common/field_text.hpp"
#include "core/common/files.hpp"
#include "core/common/messages.hpp"
#include "core/olympiad/export.hpp"
#include "core/olympiad/olympiad_write.hpp"
#include "core/olympiad/tree_read.hpp"

#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace kavo;

namespace {

enum Exit { Done = 0, Refused = 1, Usage = 2 };

namespace m = msg::cli;

const cli::Option options[] = {
    {.name = "--into", .value = &m::folder, .help = &m::intoHelp},
    {.name = "--replace", .help = &m::replaceHelp},
    {.name = "--author", .value = &m::line, .help = &m::authorHelp},
    {.name = "--to", .value = &m::format, .choices = {"gift", "moodle", "qti"}, .help = &m::toHelp},
    {.name = "--system", .value = &m::folder, .help = &m::systemHelp, .common = true},
    {.name = "--lang",
     .value = &m::language,
     .choices = {"ru", "en"},
     .help = &m::langHelp,
     .common = true},
    {.name = "--help", .alias = "-h", .help = &m::helpHelp, .common = true},
    {.name = "--version", .help = &m::versionHelp, .common = true},
};

const cli::Command commands[] = {
    {.name = "check", .operands = {&m::file}, .help = &m::checkHelp},
    {.name = "import",
     .operands = {&m::file},
     .options = {{"--into", true}, {"--replace"}, {"--author"}},
     .help = &m::importHelp},
    {.name = "export",
     .operands = {&m::folder, &m::out},
     .options = {{"--to", true}},
     .help = &m::exportHelp},
};

const cli::Grammar grammar{"kavo-olympiad", options, commands};

// The System_folder of the run and why that one.
struct SystemFolder {
    fs::path path;
    const Message* why;
};

SystemFolder systemFolderOf(const cli::Parsed& args) {
    if (const auto given = args.value("--system"))
        return {*given, &m::systemGiven};
    return {"System_folder", &m::systemHere};
}

Lang languageOf(const cli::Parsed& args, const fs::path& systemDir) {
    if (const auto lang = args.value("--lang"))
        return *lang == "en" ? Lang::English : Lang::Russian;
    try {
        return langOfFile(readText(systemDir / "Language" / "Language.txt"));
    } catch (const Error&) {
        return Lang::Russian;
    }
}

struct Run {
    const cli::Parsed& args;
    fs::path systemDir;
    Lang lang;

    const std::string& operand(std::size_t i) const { return args.operands.at(i); }
};

// Prints every problem; true when none is an error.
bool report(const olympiad::OlympiadImport& import, const fs::path& file, Lang lang) {
    std::size_t warnings = 0;
    for (const auto& problem : import.problems) {
        warnings += problem.severity == olympiad::Severity::Warning;
        std::cerr << olympiad::describe(problem, lang, file.string()) << "\n";
    }
    const auto errors = olympiad::countErrors(import.problems);
    std::cerr << m::summary.utf8(lang, {std::to_string(errors), std::to_string(warnings)}) << "\n";
    return errors == 0;
}

olympiad::OlympiadImport checked(const fs::path& file, Lang lang) {
    auto import = olympiad::importGiftFile(file);
    olympiad::checkImportedTasks(import, lang);
    return import;
}

int checkFile(const Run& run) {
    const fs::path file = run.operand(0);
    return report(checked(file, run.lang), file, run.lang) ? Done : Refused;
}

int importFile(const Run& run) {
    const fs::path file = run.operand(0);
    const fs::path into = *run.args.value("--into");
    const auto author = run.args.value("--author");
    std::optional<std::string> line;
    if (author) {
        if (const auto refused = cli::refusedInDescription(*author)) {
            std::cerr << m::refusedCharacter.utf8(run.lang, {"--author", *refused}) << "\n";
            return Usage;
        }
        // The author line's rule of the core: references judged by what they name, no TAB
        // or line break (the description may hold the line in an attribute).
        const auto text = fieldTextOfUtf8(TextField::AuthorLine, *author);
        if (const auto* invalid = std::get_if<InvalidCharacter>(&text)) {
            std::cerr << m::refusedCharacter.utf8(run.lang, {"--author", invalid->description})
                      << "\n";
            return Usage;
        }
        line = std::get<Text>(text);
    }
    const auto import = checked(file, run.lang);
    if (!report(import, file, run.lang))
        return Refused;
    if (line) {
        auth::saveAuthorIn(run.systemDir, *line, run.lang);
    } else if (auth::authorMissing(run.systemDir)) {
        std::cerr << m::authorMissing.utf8(run.lang) << "\n";
        return Refused;
    }
    recoverTree(run.systemDir);
    recoverTree(into);
    const auto existing = olympiad::existingTasks(import, into);
    if (!existing.empty() && !run.args.flag("--replace")) {
        std::cerr << m::wouldReplace.utf8(run.lang) << "\n";
        for (const auto& folder : existing)
            std::cerr << "  " << folder.generic_string() << "\n";
        return Refused;
    }
    const auto written = olympiad::writeOlympiad(import, run.systemDir, into, run.lang, {});
    std::cout << m::written.utf8(run.lang, {std::to_string(written), into.string()}) << "\n";
    return Done;
}

int exportTree(const Run& run) {
    const fs::path tree = run.operand(0);
    const fs::path out = run.operand(1);
    const auto format = *olympiad::exportFormatNamed(*run.args.value("--to"));
    std::error_code ec;
    if (!fs::is_directory(tree, ec)) {
        std::cerr << m::notAFolder.utf8(run.lang, {tree.string()}) << "\n";
        return Usage;
    }
    const auto read = olympiad::readTree(tree, run.systemDir, run.lang);
    for (const auto& skipped : read.unreadable)
        std::cerr << m::unreadable.utf8(run.lang, {skipped.folder, skipped.reason}) << "\n";
    if (read.tasks.empty()) {
        const auto& nothing = read.unreadable.empty() ? msg::form1::olympiad::nothingToExport
                                                      : msg::form1::olympiad::nothingReadBack;
        std::cerr << nothing.utf8(run.lang, {tree.string()}) << "\n";
        return Refused;
    }
    const auto exported = olympiad::exportOlympiad(format, read.olympiad, read.tasks);
    for (const auto& task : exported.losses)
        for (const auto& note : task.notes)
            std::cerr << m::lost.utf8(run.lang, {task.title, note.text(run.lang)}) << "\n";
    olympiad::writeExport(exported, out);
    std::cout << m::exported.utf8(run.lang, {std::to_string(read.tasks.size()), out.string()})
              << "\n";
    return read.unreadable.empty() ? Done : Refused;
}

const std::map<std::string_view, int (*)(const Run&)> dispatch = {
    {"check", checkFile},
    {"import", importFile},
    {"export", exportTree},
};

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const auto parse = cli::parse(grammar, arguments);
    const auto& args = parse.parsed;
    const auto system = systemFolderOf(args);
    const Lang lang = languageOf(args, system.path);
    const auto refuse = [&](const cli::Refusal& refusal) {
        std::cerr << cli::refusalLine(grammar, args.command, refusal, lang) << "\n";
        return Usage;
    };
    if (parse.wordFault)
        return refuse(*parse.wordFault);
    if (args.flag("--version")) {
        std::cout << grammar.program << " " << KAVO_VERSION << "\n";
        return Done;
    }
    if (args.flag("--help")) {
        const auto where =
            m::systemInUse.utf8(lang, {fs::absolute(system.path).lexically_normal().string(),
                                       std::string(system.why->utf8(lang))});
        std::cout << cli::help(grammar, args.command, lang, where);
        return Done;
    }
    if (parse.useFault)
        return refuse(*parse.useFault);
    try {
        return dispatch.at(args.command->name)({args, system.path, lang});
    } catch (const Error& error) {
        std::cerr << error.report(lang) << "\n";
        return Usage;
    } catch (const std::exception& error) {
        std::cerr << error.what() << "\n";
        return Usage;
    }
}
