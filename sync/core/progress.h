#pragma once
// Where a run shows its progress: the window's text box txtSync, or standard output for the
// headless run. Texts are appended exactly as the run builds them.
#include <string_view>

namespace brindlemoor {

// The line break inside progress texts.
inline constexpr std::string_view kLineBreak = "\n";

class Progress {
  public:
    virtual ~Progress() = default;
    // Replaces the whole text.
    virtual void setText(std::string_view text) = 0;
    // Appends to the text.
    virtual void append(std::string_view text) = 0;
    // Lets the window repaint now, in the middle of a run.
    virtual void repaint() = 0;
};

}  // namespace brindlemoor
