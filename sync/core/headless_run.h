#pragma once
// The run without a window, for servers and schedulers: start-up, then exactly what a press of
// "Synchronize" does, with every progress text written to `out` as the window would show it.
#include <ostream>

#include "platform/machine_root.h"
#include "sync/core/progress.h"

namespace brindlemoor {

class StreamProgress final : public Progress {
  public:
    explicit StreamProgress(std::ostream& out) : out_(out) {}
    void setText(std::string_view text) override { out_ << text; }
    void append(std::string_view text) override { out_ << text; }
    void repaint() override { out_.flush(); }

  private:
    std::ostream& out_;
};

// 0 after the run (also after a run that ended on an error, which it logged), 1 when the
// start-up failed. What the log could not take is reported on `err`.
int RunHeadless(const platform::MachineRoot& root, std::ostream& out, std::ostream& err);

}  // namespace brindlemoor
