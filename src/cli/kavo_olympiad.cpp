// SPDX-License-Identifier: MIT
// kavo-olympiad: checks an olympiad file, imports it into a task tree, exports a task tree.
// It links only the core and says everything the window says, in the same words.
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

struct Arguments {
    std::vector<std::string> words;
    std::map<std::string, std::string> options;
    bool replace = false;
    bool skipUnfit = false; // write the tasks that fit, leaving out the questions that do not
    olympiad::ImportOptions import;
};

std::optional<Arguments> parse(int argc, char** argv) {
    Arguments args;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word == "--replace") {
            args.replace = true;
        } else if (word == "--skip-unfit") {
            args.skipUnfit = true;
        } else if (word == "--first-answer") {
            args.import.firstAnswer = true;
        } else if (word == "--shuffle") {
            args.import.shuffle = true;
        } else if (word.starts_with("--")) {
            if (i + 1 >= argc)
                return std::nullopt;
            args.options[word] = argv[++i];
        } else {
            args.words.push_back(word);
        }
    }
    return args;
}

std::string option(const Arguments& args, const std::string& name) {
    const auto found = args.options.find(name);
    return found == args.options.end() ? std::string() : found->second;
}

Lang languageOf(const Arguments& args, const fs::path& systemDir) {
    const auto lang = option(args, "--lang");
    if (lang == "en")
        return Lang::English;
    if (lang == "ru")
        return Lang::Russian;
    try {
        return langOfFile(readText(systemDir / "Language" / "Language.txt"));
    } catch (const Error&) {
        return Lang::Russian;
    }
}

// Prints every problem, the answers bunched on one letter and, with questions left out, the
// numbers the tasks that fit take; true when nothing blocks the import (a question left out
// blocks it unless --skip-unfit).
bool report(const olympiad::OlympiadImport& import, const fs::path& file, Lang lang,
            const Arguments& args) {
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
        std::cerr << msg::cli::summary.utf8(lang, {errors, warnings}) << "\n";
        return import.ok();
    }
    if (import.ok())
        for (const auto& task : import.tasks)
            std::cerr << o::numbering.utf8(
                             lang, {std::to_string(task.number), std::to_string(task.pos.line)})
                      << "\n";
    std::cerr << msg::cli::summaryLeftOut.utf8(lang, {errors, warnings, std::to_string(leftOut)})
              << "\n";
    if (import.ok() && !args.skipUnfit)
        std::cerr << msg::cli::unfitRefused.utf8(
                         lang, {std::to_string(leftOut), std::to_string(import.tasks.size())})
                  << "\n";
    return import.ok() && args.skipUnfit;
}

olympiad::OlympiadImport checked(const fs::path& file, Lang lang, const Arguments& args) {
    auto import = olympiad::importOlympiadFile(file, args.import);
    olympiad::checkImportedTasks(import, lang);
    return import;
}

int importInto(const Arguments& args, const fs::path& file, const fs::path& systemDir, Lang lang) {
    const fs::path into = option(args, "--into");
    if (into.empty())
        return Usage;
    const auto import = checked(file, lang, args);
    if (!report(import, file, lang, args))
        return Refused;
    const auto author = option(args, "--author");
    if (!author.empty()) {
        const auto line = utf8ToCp1251(author, Unencodable::CharacterReference);
        auth::saveAuthorIn(systemDir, *line, lang);
    } else if (auth::authorMissing(systemDir)) {
        std::cerr << msg::cli::authorMissing.utf8(lang) << "\n";
        return Refused;
    }
    recoverTree(systemDir);
    recoverTree(into);
    const auto existing = olympiad::existingTasks(import, into);
    if (!existing.empty() && !args.replace) {
        std::cerr << msg::cli::wouldReplace.utf8(lang) << "\n";
        for (const auto& folder : existing)
            std::cerr << "  " << folder.generic_string() << "\n";
        return Refused;
    }
    const auto written = olympiad::writeOlympiad(import, systemDir, into, lang, {});
    std::cout << msg::cli::written.utf8(lang, {std::to_string(written), into.string()}) << "\n";
    return Done;
}

int exportTree(const Arguments& args, const fs::path& tree, const fs::path& systemDir, Lang lang) {
    const auto format = olympiad::exportFormatNamed(option(args, "--to"));
    if (!format || args.words.size() != 3)
        return Usage;
    const fs::path out = args.words[2];
    const auto read = olympiad::readTree(tree, systemDir, lang);
    for (const auto& skipped : read.unreadable)
        std::cerr << msg::cli::unreadable.utf8(lang, {skipped.folder, skipped.reason}) << "\n";
    const auto exported = olympiad::exportOlympiad(*format, read.olympiad, read.tasks);
    for (const auto& task : exported.losses)
        for (const auto& note : task.notes)
            std::cerr << msg::cli::lost.utf8(lang, {task.title, note.text(lang)}) << "\n";
    olympiad::writeExport(exported, out);
    std::cout << msg::cli::exported.utf8(lang, {std::to_string(read.tasks.size()), out.string()})
              << "\n";
    return read.unreadable.empty() ? Done : Refused;
}

} // namespace

int main(int argc, char** argv) {
    const auto args = parse(argc, argv);
    const fs::path systemDir = args && !option(*args, "--system").empty()
                                   ? fs::path(option(*args, "--system"))
                                   : fs::path("System_folder");
    const Lang lang = args ? languageOf(*args, systemDir) : Lang::Russian;
    const auto usage = [lang] {
        std::cerr << msg::cli::usage.utf8(lang) << "\n";
        return Usage;
    };
    if (!args || args->words.size() < 2)
        return usage();
    try {
        const auto& command = args->words[0];
        const fs::path target = args->words[1];
        int code = Usage;
        if (command == "check" && args->words.size() == 2)
            code = report(checked(target, lang, *args), target, lang, *args) ? Done : Refused;
        else if (command == "import" && args->words.size() == 2)
            code = importInto(*args, target, systemDir, lang);
        else if (command == "export")
            code = exportTree(*args, target, systemDir, lang);
        return code == Usage ? usage() : code;
    } catch (const Error& error) {
        std::cerr << error.what() << "\n";
        return Usage;
    } catch (const std::exception& error) {
        std::cerr << error.what() << "\n";
        return Usage;
    }
}
