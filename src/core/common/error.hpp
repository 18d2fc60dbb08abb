// SPDX-License-Identifier: MIT
#pragma once

#include "core/common/lang.hpp"

#include <cerrno>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace kavo {

// A failure that stops the current operation. what() is the English report in UTF-8 (paths
// as the file system holds them), with the system's reason on a second line when there is
// one; report() words the same in the interface language.
class Error : public std::runtime_error {
  public:
    // Declined: the teacher answered No to a question the operation needed (wait for the
    // folder another program writes); the answer is report enough, no box follows it.
    enum class Kind { CannotOpen, CannotCreate, NotInteger, Refused, Declined };

    // A ready report, the same in both languages.
    explicit Error(const std::string& report);

    // reason: the errno value of the failed call; 0 when there is none.
    static Error cannotOpen(const std::filesystem::path& path, int reason = errno);
    static Error cannotCreate(const std::filesystem::path& path, int reason = errno);
    static Error notInteger(const std::string& cp1251Text);
    // A refusal worded in both languages.
    static Error refused(const Message<>& wording);
    // The same about a path, which stands for "%1" in the wording.
    static Error refused(const Message<1>& wording, const std::filesystem::path& path,
                         int reason = 0);
    // The same, after the teacher declined to go on.
    static Error declined(const Message<1>& wording, const std::filesystem::path& path);

    Kind kind() const { return kind_; }
    const std::filesystem::path& path() const { return path_; }
    int reason() const { return reason_; }

    // The report in the interface language, UTF-8, with the reason line.
    std::string report(Lang lang) const;

  private:
    Error(Kind kind, std::filesystem::path path, int reason, std::string en, std::string ru);

    Kind kind_;
    std::filesystem::path path_;
    int reason_;
    std::string en_, ru_; // the first line in each language
};

// The system's reason for an errno value, worded for the user (not strerror); an unknown
// value gets a generic wording with its number.
std::string systemReason(int reason, Lang lang);

} // namespace kavo
