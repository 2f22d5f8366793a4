#pragma once
// The run without a window, for servers and schedulers: start-up, then exactly what a press of
// "Synchronize" does, with every progress text written to `out` as the window would show it.
#include <filesystem>
#include <optional>
#include <ostream>

#include "platform/machine_root.h"
#include "sync/core/progress.h"
#include "sync/core/synchronizer.h"

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

struct HeadlessOptions {
    RunOptions run;
    // Where the run's JSON summary goes (a Linux path); none when empty.
    std::optional<std::filesystem::path> summary;
};

// The exit status: 0 when every company was done, 3 when the run ended on an error (which it
// showed and logged), 1 when the start-up failed, another run kept the server root locked, or
// the summary could not be written. What the log could not take is reported on `err`.
int RunHeadless(const platform::MachineRoot& root, std::ostream& out, std::ostream& err,
                const HeadlessOptions& options = {});

}  // namespace brindlemoor
