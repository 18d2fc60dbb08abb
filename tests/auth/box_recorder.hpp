// SPDX-License-Identifier: MIT
#pragma once
// A platform for the GUI tests of the author dialog and the Edits builder: boxes are
// remembered, never shown; the other requests answer No, Cancel or success at once.

#include "app/platform.hpp"

#include <QString>
#include <QStringList>
#include <vector>

namespace kavo::test {

class BoxRecorder : public kavo::app::Platform {
  public:
    enum class Kind { Information, Error, Question };
    struct Box {
        Kind kind;
        QString text;
    };
    std::vector<Box> boxes;

    void information(QWidget*, const QString& text) override {
        boxes.push_back({Kind::Information, text});
    }
    void error(QWidget*, const QString& text) override { boxes.push_back({Kind::Error, text}); }
    bool question(QWidget*, const QString& text) override {
        boxes.push_back({Kind::Question, text});
        return false;
    }
    std::optional<QString> chooseFolder(QWidget*, const QString&) override { return {}; }
    bool openUrl(const QString&) override { return true; }
    bool restart(const QString&, const QString&) override { return true; }

    QStringList texts(Kind kind) const {
        QStringList out;
        for (const auto& box : boxes)
            if (box.kind == kind)
                out << box.text;
        return out;
    }
    QStringList informations() const { return texts(Kind::Information); }
    QStringList errors() const { return texts(Kind::Error); }
};

} // namespace kavo::test
