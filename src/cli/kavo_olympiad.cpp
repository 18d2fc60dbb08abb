// SPDX-License-Identifier: MIT
// kavo-olympiad: checks an olympiad file, imports it into a task tree, exports a task tree.
// It links only the core and says everything the window says, in the same words.
#include "core/auth/author.hpp"
#include "core/common/codepage.hpp"
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

struct Arguments {
    std::vector<std::string> words;
    std::map<std::string, std::string> options;
    bool replace = false;
};

std::optional<Arguments> parse(int argc, char** argv) {
    Arguments args;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word == "--replace") {
            args.replace = true;
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

// Prints every problem; true when none is an error.
bool report(const olympiad::OlympiadImport& import, const fs::path& file, Lang lang) {
    std::size_t warnings = 0;
    for (const auto& problem : import.problems) {
        warnings += problem.severity == olympiad::Severity::Warning;
        std::cerr << olympiad::describe(problem, lang, file.string()) << "\n";
    }
    const auto errors = olympiad::countErrors(import.problems);
    std::cerr << msg::cli::summary.utf8(lang, {std::to_string(errors), std::to_string(warnings)})
              << "\n";
    return errors == 0;
}

olympiad::OlympiadImport checked(const fs::path& file, Lang lang) {
    auto import = olympiad::importGiftFile(file);
    olympiad::checkImportedTasks(import, lang);
    return import;
}

int importInto(const Arguments& args, const fs::path& file, const fs::path& systemDir, Lang lang) {
    const fs::path into = option(args, "--into");
    if (into.empty())
        return Usage;
    const auto import = checked(file, lang);
    if (!report(import, file, lang))
        return Refused;
    const auto author = option(args, "--author");
    if (!author.empty()) {
        // A control character makes no line: refused by name instead of read as nothing.
        const auto line = fieldTextOfUtf8(TextField::AuthorLine, author);
        if (const auto* invalid = std::get_if<InvalidCharacter>(&line)) {
            std::cerr << msg::auth::invalidLine.utf8(lang, {invalid->description}) << "\n";
            return Refused;
        }
        auth::saveAuthorIn(systemDir, std::get<Text>(line), lang);
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
            code = report(checked(target, lang), target, lang) ? Done : Refused;
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
