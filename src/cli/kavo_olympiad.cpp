// SPDX-License-Identifier: MIT
// kavo-olympiad: checks an olympiad file or a task tree, imports a file into a task tree,
// exports a task tree.
// It links only the core and says everything the window says, in the same words. Its
// commands and options are the two tables below (see cli/command_line.hpp to add one).
#include "cli/command_line.hpp"
#include "core/auth/author.hpp"
#include "core/common/error.hpp"
#include "core/common/field_text.hpp"
#include "core/common/files.hpp"
#include "core/common/memory.hpp"
#include "core/common/messages.hpp"
#include "core/common/tree_lock.hpp"
#include "core/olympiad/export.hpp"
#include "core/olympiad/gift_import.hpp"
#include "core/olympiad/olympiad_write.hpp"
#include "core/olympiad/tree_check.hpp"
#include "core/olympiad/tree_read.hpp"
#include "core/render/read_back.hpp"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

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
    {.name = "--save-author", .help = &m::saveAuthorHelp, .needs = "--author"},
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
                 {"--save-author"},
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

// The installed program's files, found from this executable's own place as the launcher
// finds them; none when it does not lie in an installed layout (a build folder).
struct Installed {
    fs::path data;    // share/kavo-program: never written
    fs::path shipped; // its System_folder
    fs::path prepare; // libexec/kavo-program/prepare-workdir, the launcher's own copier
};

std::optional<Installed> installed() {
#ifdef KAVO_DATA_DIR
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec); // links already followed
    if (ec)
        return std::nullopt;
    const fs::path prefix = fs::weakly_canonical(self.parent_path() / KAVO_BIN_TO_PREFIX, ec);
    Installed found{prefix / KAVO_DATA_DIR, prefix / KAVO_DATA_DIR / "System_folder",
                    prefix / KAVO_LIBEXEC_DIR / "prepare-workdir"};
    if (!ec && fs::is_directory(found.shipped, ec) && fs::is_regular_file(found.prepare, ec))
        return found;
#endif
    return std::nullopt;
}

// The System_folder of the run and why that one.
struct SystemFolder {
    fs::path path;
    std::function<std::string(Lang)> why; // none: not found
    fs::path workdir;                     // the installed program's working folder, to prepare
};

SystemFolder systemFolderOf(const cli::Parsed& args, const std::optional<Installed>& install) {
    std::error_code ec;
    if (const auto given = args.value("--system"))
        return {*given, [](Lang lang) { return m::systemGiven.utf8(lang); }, {}};
    if (fs::is_directory("System_folder", ec))
        return {"System_folder", [](Lang lang) { return m::systemHere.utf8(lang); }, {}};
    const char* home = std::getenv("HOME");
    if (install && home && *home) {
        const fs::path workdir = fs::path(home) / "Kavo_Program";
        const std::string shipped = install->shipped.string();
        return {workdir / "System_folder",
                [shipped](Lang lang) { return m::systemWorking.utf8(lang, {shipped}); }, workdir};
    }
    return {"System_folder", nullptr, {}};
}

std::string systemLine(const SystemFolder& system, Lang lang) {
    if (!system.why)
        return m::systemNone.utf8(lang);
    const auto why = system.why(lang);
    return m::systemInUse.utf8(lang, {fs::absolute(system.path).lexically_normal().string(), why});
}

// The language file of the System_folder in use; before the installed program's working
// folder is first prepared, that of the shipped one it will copy.
Lang languageOf(const cli::Parsed& args, const SystemFolder& system,
                const std::optional<Installed>& install) {
    if (const auto lang = args.value("--lang"))
        return *lang == "en" ? Lang::English : Lang::Russian;
    std::vector<fs::path> files = {system.path / "Language" / "Language.txt"};
    if (!system.workdir.empty() && install)
        files.push_back(install->shipped / "Language" / "Language.txt");
    for (const auto& file : files) {
        try {
            return langOfFile(readText(file));
        } catch (const Error&) {
        }
    }
    return Lang::Russian;
}

// The launcher's step before each start: every shipped file missing in the working folder
// is copied, none overwritten.
bool prepared(const SystemFolder& system, const Installed& install, Lang lang) {
    const std::string script = install.prepare.string(), shipped = install.shipped.string(),
                      workdir = system.workdir.string();
    char* argv[] = {const_cast<char*>(script.c_str()), const_cast<char*>(shipped.c_str()),
                    const_cast<char*>(workdir.c_str()), nullptr};
    pid_t pid = 0;
    int status = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv, environ) == 0 &&
        waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return true;
    std::cerr << m::prepareFailed.utf8(lang, {workdir, shipped}) << "\n";
    return false;
}

struct Run {
    const cli::Parsed& args;
    fs::path systemDir;
    Lang lang;
    std::optional<Installed> install;

    const std::string& operand(std::size_t i) const { return args.operands.at(i); }

    // False, with the refusal, for a path in the installed program's own folder.
    bool mayWrite(const fs::path& path) const {
        if (!install)
            return true;
        std::error_code ec;
        const auto target = fs::weakly_canonical(fs::absolute(path), ec);
        const auto data = fs::weakly_canonical(install->data, ec);
        const auto [end, _] = std::mismatch(data.begin(), data.end(), target.begin(), target.end());
        if (end != data.end())
            return true;
        std::cerr << m::shippedFolder.utf8(lang, {path.string(), install->data.string()}) << "\n";
        return false;
    }
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

// Prints every row of a tree's check as the report window lists them, errors first, with
// "error: " or "warning: " before each; true when none is an error.
bool report(const olympiad::TreeCheck& check, const fs::path& tree, Lang lang) {
    for (const auto& row : check.rows) {
        const auto& kind = row.severity == olympiad::Severity::Error ? msg::olympiad::error
                                                                     : msg::olympiad::warning;
        std::cerr << kind.utf8(lang) << ": " << olympiad::rowText(row, lang) << "\n";
    }
    const auto errors = check.count(olympiad::Severity::Error);
    std::cerr << msg::treeCheck::summary.utf8(lang, {std::to_string(errors),
                                                     std::to_string(check.rows.size() - errors),
                                                     std::to_string(check.folders), tree.string()})
              << "\n";
    return errors == 0;
}

olympiad::TreeCheck checkedTree(const fs::path& tree, const Run& run) {
    return olympiad::checkTree(render::TemplateSet::load(run.systemDir), tree, run.lang);
}

// check: a task tree (a folder) or an olympiad file. Anything else there cannot be checked;
// a missing file is reported as the file reader reports it.
int checkFile(const Run& run) {
    const fs::path target = run.operand(0);
    std::error_code ec;
    if (fs::is_directory(target, ec))
        return report(checkedTree(target, run), target, run.lang) ? Done : Refused;
    if (fs::exists(target, ec) && !fs::is_regular_file(target, ec)) {
        std::cerr << msg::treeCheck::notASource.utf8(run.lang, {target.string()}) << "\n";
        return Usage;
    }
    return report(checked(target, run), target, run) ? Done : Refused;
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
    if (!run.mayWrite(run.systemDir) || !run.mayWrite(into))
        return Usage;
    const auto import = checked(file, run);
    if (!report(import, file, run))
        return Refused;
    if (!line && auth::authorMissing(run.systemDir)) {
        std::cerr << m::authorMissing.utf8(run.lang) << "\n";
        return Refused;
    }
    // One writer per tree: the tree is held from its recovery to the last task written,
    // System_folder after it while the author is saved and its own leftovers put right.
    const TreeLock tree(into);
    // An author given for this run goes into its task descriptions alone; --save-author
    // saves it as the author dialog does.
    std::optional<auth::Headers> headers;
    if (line && run.args.flag("--save-author"))
        auth::saveAuthorIn(run.systemDir, *line, run.lang);
    else if (line)
        headers = auth::headersFor(run.systemDir, *line, run.lang);
    {
        const TreeLock system(run.systemDir, TreeLock::Missing::Refuse);
        recoverTree(run.systemDir);
    }
    recoverTree(into);
    const auto existing = olympiad::existingTasks(import, into);
    if (!existing.empty() && !run.args.flag("--replace")) {
        std::cerr << m::wouldReplace.utf8(run.lang) << "\n";
        for (const auto& folder : existing)
            std::cerr << "  " << folder.generic_string() << "\n";
        return Refused;
    }
    const auto written = olympiad::writeOlympiad(import, run.systemDir, into, run.lang, {},
                                                 headers ? &*headers : nullptr);
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
    if (!run.mayWrite(out))
        return Usage;
    // A number in two folders or outside the sizes would be exported wrong: nothing is
    // written, and the check's rows say where.
    if (const auto check = checkedTree(tree, run); check.stopsExport()) {
        std::cerr << msg::treeCheck::exportStopped.utf8(run.lang) << "\n";
        report(check, tree, run.lang);
        return Refused;
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
    kavo::keepFreedMemory();
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const auto parse = cli::parse(grammar, arguments);
    const auto& args = parse.parsed;
    const auto install = installed();
    const auto system = systemFolderOf(args, install);
    const Lang lang = languageOf(args, system, install);
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
        std::cout << cli::help(grammar, args.command, lang, systemLine(system, lang));
        return Done;
    }
    if (parse.useFault)
        return refuse(*parse.useFault);
    if (!system.workdir.empty() && !prepared(system, *install, lang))
        return Usage;
    try {
        return dispatch.at(args.command->name)({args, system.path, lang, install});
    } catch (const Error& error) {
        std::cerr << error.report(lang) << "\n";
        return Usage;
    } catch (const std::exception& error) {
        std::cerr << error.what() << "\n";
        return Usage;
    }
}
