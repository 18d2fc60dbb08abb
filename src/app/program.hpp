// SPDX-License-Identifier: MIT
#pragma once

#include "core/common/lang.hpp"
#include "core/common/text.hpp"
#include "core/render/render.hpp"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QTranslator;
class TForm1;
class TForm2;
class TForm3;

namespace kavo::app {

class Platform;

// What the program's command line asks for: nothing, or the olympiad file whose import
// report opens at start (made absolute from the current folder). An option the program
// does not know, or more than one file, is refused; "--" ends the options.
struct StartArguments {
    std::optional<std::filesystem::path> olympiadFile;
    // The refusal in both languages (English first); empty when the line is understood.
    std::string refusal;
};
StartArguments startArguments(const std::vector<std::string>& arguments);

// The whole program: reads the start files, builds and shows Form1; Form2 and Form3 are
// built hidden on first use. main() and the GUI tests start the same thing.
class Program {
  public:
    explicit Program(Platform& platform);
    ~Program();

    // Reads the start files in the working directory and shows Form1; on a start-up failure
    // shows the report in an error box and returns false with no window shown. With an
    // olympiad file, its import report opens over Form1 as Menu > Import olympiad opens it.
    bool start(const std::optional<std::filesystem::path>& olympiadFile = std::nullopt);

    TForm1* form1() const;
    // The dialog and the Edits builder once built (none before their first use).
    TForm2* form2() const;
    TForm3* form3() const;

    // True once the program has ended (Form1 or Form3 closed); the event loop is told to quit.
    bool ended() const { return ended_; }

  private:
    void translateQt();
    TForm2* author();
    TForm3* edits();
    void end();

    Platform& platform_;
    std::filesystem::path programDir_;
    Lang lang_ = Lang::Russian;
    Text toolkit_;
    // Read at start so that a missing template stops the start; moved into Form3 when built.
    std::optional<render::EditsTemplates> editsTemplates_;
    bool authorSavedBeforeEdits_ = false;
    std::unique_ptr<QTranslator> qtTranslator_;
    std::unique_ptr<TForm1> form1_;
    std::unique_ptr<TForm2> form2_;
    std::unique_ptr<TForm3> form3_;
    bool ended_ = false;
};

} // namespace kavo::app
