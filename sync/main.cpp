// brindlemoor: the master-data synchronizer. With --run it works without a window (servers and
// schedulers); otherwise it opens its window.
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "platform/failure.h"
#include "platform/machine_root.h"
#include "sync/core/headless_run.h"
#ifdef BRINDLEMOOR_WINDOW
#include "sync/window/sync_window.h"
#endif

namespace {

const char kUsage[] =
    "usage: brindlemoor [--root R]          the window; waits for the operator unless unattended\n"
    "       brindlemoor [--root R] --run    no window: start-up and one run, progress on stdout\n"
    "\n"
    "Exit status: 0 after the run (also one that ended on a logged error), 1 when the start-up\n"
    "failed, 2 for a usage error. The machine root is --root, else $TAVIRO_ROOT, else\n"
    "$XDG_DATA_HOME/taviro.\n";

struct Options {
    std::optional<std::string> root;
    bool run = false;
    bool help = false;
};

std::optional<Options> parse(const std::vector<std::string>& args) {
    Options options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--run") {
            options.run = true;
        } else if (arg == "--root" && i + 1 < args.size()) {
            options.root = args[++i];
        } else if (arg.rfind("--root=", 0) == 0) {
            options.root = arg.substr(7);
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else {
            return std::nullopt;
        }
    }
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = parse(std::vector<std::string>(argv + 1, argv + argc));
    if (!options) {
        std::cerr << kUsage;
        return 2;
    }
    if (options->help) {
        std::cout << kUsage;
        return 0;
    }
    try {
        const platform::MachineRoot root = platform::MachineRoot::resolve(options->root);
        if (options->run) return brindlemoor::RunHeadless(root, std::cout, std::cerr);
#ifdef BRINDLEMOOR_WINDOW
        return brindlemoor::RunWindow(root, argc, argv);
#else
        std::cerr << "brindlemoor: this build has no window; use --run\n";
        return 2;
#endif
    } catch (const platform::PlatformError& error) {
        std::cerr << "brindlemoor: " << platform::formatFailureCode(error.code()) << ' '
                  << error.description() << '\n';
        return 1;
    }
}
