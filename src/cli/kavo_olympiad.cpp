// SPDX-License-Identifier: MIT
// kavo-olympiad: checks an olympiad file, imports it into a task tree, exports a task tree.
// It links only the core and says everything the window says, in the same words. Its
// commands and options are the two tables below (see cli/command_line.hpp to add one).
#include "cli/command_line.hpp"
#include "core/auth/author.hpp"
#include "core/common/codepage.hpp"
#include "core/common/error.hpp"
#include "core/common/files.hpp"
#include "core/common/messages.hpp"
#include "core/olympiad/export.hpp"
#include "core/olympiad/gift_import.hpp"
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
    {.name = "--skip-unfit", .help = &m::skipUnfitHelp},
    {.name = "--first-answer", .help = &m::firstAnswerHelp},
    {.name = "--shuffle", .help = &m::shuffleHelp},
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
    {.name = "check",
     .operands = {&m::file},
     .options = {{"--skip-unfit"}, {"--first-answer"}, {"--shuffle"}},
     .help = &m::checkHelp},
    {.name = "import",
     .operands = {&m::file},
     .options = {{"--into", true},
                 {"--replace"},
                 {"--author"},
                 {"--skip-unfit"},
                 {"--first-answer"},
                 {"--shuffle"}},
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

// Prints every problem, the answers bunched on one letter and, with questions left out, the
// numbers the tasks that fit take; true when nothing blocks the import (a question left out
// blocks it unless --skip-unfit).
bool report(const olympiad::OlympiadImport& import, const fs::path& file, const Run& run) {
    const Lang lang = run.lang;
    for (const auto& problem : import.problems)
        std::cerr << olympiad::describe(problem, lang, file.string()) << "\n";
    namespace o = msg::olympiad;
    if (import.bunched && !import.shuffled)
        std::cerr << o::bunched.utf8(
                         lang, {std::to_string(import.bunched->count),
                                std::to_string(import.bunched->singleChoice),
                                std::string(1, static_cast<char>('A' + import.bunched->variant))})
                  << "\n";
    if (import.shuffled)
        std::cerr << o::shuffled.utf8(lang, {std::to_string(import.shuffled)}) << "\n";
    const auto errors = std::to_string(olympiad::countErrors(import.problems));
    const auto warnings =
        std::to_string(olympiad::countOf(import.problems, olympiad::Severity::Warning));
    const auto leftOut = import.leftOut();
    if (leftOut == 0) {
        std::cerr << m::summary.utf8(lang, {errors, warnings}) << "\n";
        return import.ok();
    }
    if (import.ok())
        for (const auto& task : import.tasks)
            std::cerr << o::numbering.utf8(
                             lang, {std::to_string(task.number), std::to_string(task.pos.line)})
                      << "\n";
    std::cerr << m::summaryLeftOut.utf8(lang, {errors, warnings, std::to_string(leftOut)}) << "\n";
    const bool skip = run.args.flag("--skip-unfit");
    if (import.ok() && !skip)
        std::cerr << m::unfitRefused.utf8(
                         lang, {std::to_string(leftOut), std::to_string(import.tasks.size())})
                  << "\n";
    return import.ok() && skip;
}

olympiad::OlympiadImport checked(const fs::path& file, const Run& run) {
    const olympiad::ImportOptions options{run.args.flag("--first-answer"),
                                          run.args.flag("--shuffle")};
    auto import = olympiad::importOlympiadFile(file, options);
    olympiad::checkImportedTasks(import, run.lang);
    return import;
}

int checkFile(const Run& run) {
    const fs::path file = run.operand(0);
    return report(checked(file, run), file, run) ? Done : Refused;
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
        line = utf8ToCp1251(*author, Unencodable::CharacterReference);
        if (!line)
            throw std::logic_error("a character the check let through cannot be written");
    }
    const auto import = checked(file, run);
    if (!report(import, file, run))
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
