// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

class TForm1;
class TForm2;
class TForm3;

namespace kavo::app {

class Platform;

// The whole program: builds Form1, then Form2 and Form3 hidden, then shows Form1.
// main() and the GUI tests start the same thing.
class Program {
  public:
    explicit Program(Platform& platform);
    ~Program();

    // Builds the windows in the working directory; on a start-up failure shows the report
    // in an error box and returns false with no window shown.
    bool start();

    TForm1* form1() const;
    TForm2* form2() const;
    TForm3* form3() const;

    // True once the program has ended (Form1 or Form3 closed); the event loop is told to quit.
    bool ended() const { return ended_; }

  private:
    void end();

    Platform& platform_;
    std::unique_ptr<TForm1> form1_;
    std::unique_ptr<TForm2> form2_;
    std::unique_ptr<TForm3> form3_;
    bool ended_ = false;
};

} // namespace kavo::app
