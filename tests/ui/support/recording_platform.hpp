// SPDX-License-Identifier: MIT
#pragma once
// A platform for GUI tests: answers at once and remembers every request. Header-only, so a
// test includes it without any extra library ("ui/support/recording_platform.hpp" under tests/).

#include "ui/common/platform.hpp"

#include <QString>
#include <QStringList>
#include <deque>
#include <optional>
#include <vector>

namespace kavo::test {

class RecordingPlatform : public kavo::app::Platform {
  public:
    enum class Kind { Information, Error, Question };
    struct Box {
        Kind kind;
        QString text;
        bool defaultYes = false; // a question's default button
    };
    struct FileRequest {
        FileMode mode;
        QString title, start, filter;
    };
    struct Restart {
        QString executable;
        QString workingDirectory;
    };

    // What was asked, in order.
    std::vector<Box> boxes;
    QStringList chooserStarts; // the start folder of each folder chooser
    QStringList chooserTitles;
    QStringList openedUrls;
    std::vector<Restart> restarts;
    std::vector<FileRequest> fileRequests;

    // Preset answers, taken front first; when empty: question says No, the chooser is
    // cancelled, openUrl and restart succeed as openUrlResult / restartResult say.
    std::deque<bool> questionAnswers;
    std::deque<std::optional<QString>> folderAnswers;
    std::deque<std::optional<QString>> fileAnswers; // the file choosers, open and save
    bool openUrlResult = true;
    bool restartResult = true;

    void information(QWidget*, const QString& text) override {
        boxes.push_back({Kind::Information, text});
    }
    void error(QWidget*, const QString& text) override { boxes.push_back({Kind::Error, text}); }
    bool question(QWidget*, const QString& text) override {
        boxes.push_back({Kind::Question, text});
        if (questionAnswers.empty())
            return false;
        const bool answer = questionAnswers.front();
        questionAnswers.pop_front();
        return answer;
    }
    bool ask(QWidget* owner, const QString& text, bool defaultYes) override {
        const bool answer = question(owner, text);
        boxes.back().defaultYes = defaultYes;
        return answer;
    }
    std::optional<QString> chooseFile(QWidget*, FileMode mode, const QString& title,
                                      const QString& start, const QString& filter) override {
        fileRequests.push_back({mode, title, start, filter});
        if (fileAnswers.empty())
            return std::nullopt;
        const std::optional<QString> answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }
    std::optional<QString> chooseFolder(QWidget*, const QString& title,
                                        const QString& start) override {
        chooserTitles << title;
        chooserStarts << start;
        if (folderAnswers.empty())
            return std::nullopt;
        const bool chosen = folderAnswers.front().has_value();
        const QString folder = folderAnswers.front().value_or(QString());
        folderAnswers.pop_front();
        return chosen ? std::optional<QString>(folder) : std::nullopt;
    }
    bool openUrl(const QString& url) override {
        openedUrls << url;
        return openUrlResult;
    }
    bool restart(const QString& executable, const QString& workingDirectory) override {
        restarts.push_back({executable, workingDirectory});
        return restartResult;
    }

    // The texts of the boxes of one kind, in order.
    QStringList texts(Kind kind) const {
        QStringList out;
        for (const auto& box : boxes)
            if (box.kind == kind)
                out << box.text;
        return out;
    }
    QStringList informations() const { return texts(Kind::Information); }
    QStringList errors() const { return texts(Kind::Error); }
    void clear() {
        boxes.clear();
        chooserStarts.clear();
        chooserTitles.clear();
        openedUrls.clear();
        restarts.clear();
        fileRequests.clear();
    }
    QStringList questions() const { return texts(Kind::Question); }
};

} // namespace kavo::test
