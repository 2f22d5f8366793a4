// brindlemoor: the master-data synchronizer. With --run it works without a window (servers and
// schedulers); otherwise it opens its window. --check, --init and --version are the operator's
// commands around it.
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "platform/failure.h"
#include "platform/machine_root.h"
#include "sync/core/headless_run.h"
#include "sync/core/password_mask.h"
#include "sync/core/server_check.h"
#include "sync/core/server_init.h"
#ifdef BRINDLEMOOR_WINDOW
#include "sync/window/sync_window.h"
#endif

namespace {

const char kUsage[] =
    "usage: brindlemoor [--root R]                  the window; waits for the operator unless\n"
    "                                               unattended\n"
    "       brindlemoor [--root R] --run [--summary FILE]\n"
    "                                               no window: start-up and one run, progress\n"
    "                                               on stdout; FILE gets a JSON summary\n"
    "       brindlemoor [--root R] --check          checks the server root as a run reads it;\n"
    "                                               changes nothing\n"
    "       brindlemoor [--root R] --init --server-db CONN [--web-root DIR]\n"
    "                   [--company N --erp CONN]... prepares a server root for its first run\n"
    "       brindlemoor --version | --help\n"
    "\n"
    "Exit status of --run (and of an unattended window):\n"
    "  0  every company was synchronized\n"
    "  3  the run ended on an error; the log names it\n"
    "  1  the start-up failed, another run kept the server root locked, or the summary\n"
    "     could not be written\n"
    "  2  usage error\n"
    "--check exits 0 only when every item is OK (1 otherwise); --init exits 0 when the root\n"
    "is ready (1 otherwise). The window needs a display; without one, use --run.\n"
    "\n"
    "The machine root is --root, else $TAVIRO_ROOT, else $XDG_DATA_HOME/taviro. A run waits up\n"
    "to $BRINDLEMOOR_LOCK_WAIT seconds (default 180) for another run on the same root.\n"
    "CONN: sqlite:PATH, postgresql://..., or DSN=NAME (see docs/operating-brindlemoor.md).\n";

enum class Mode { Window, Run, Check, Init, Help, Version };

struct Options {
    Mode mode = Mode::Window;
    std::optional<std::string> root;
    std::optional<std::string> summary;
    brindlemoor::InitOptions init;
};

bool isCompanyNumber(const std::string& text) {
    if (text.empty() || text.size() > 5) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return std::stoi(text) <= 32767;
}

// Sets the mode once; a second, different mode is a usage error.
bool setMode(Options& options, Mode mode) {
    if (options.mode != Mode::Window && options.mode != mode) return false;
    options.mode = mode;
    return true;
}

// "--name VALUE" or "--name=VALUE".
std::optional<std::string> valueOf(const std::vector<std::string>& args, size_t& i,
                                   const std::string& name) {
    const std::string& arg = args[i];
    if (arg == name) {
        if (i + 1 >= args.size()) return std::nullopt;
        return args[++i];
    }
    if (arg.rfind(name + "=", 0) == 0) return arg.substr(name.size() + 1);
    return std::nullopt;
}

bool isOption(const std::string& arg, const std::string& name) {
    return arg == name || arg.rfind(name + "=", 0) == 0;
}

// The options that hold a value; false when `arg` is none of them or its value is bad.
bool parseValue(const std::vector<std::string>& args, size_t& i, Options& options) {
    const std::string& arg = args[i];
    for (const char* name :
         {"--root", "--summary", "--server-db", "--web-root", "--company", "--erp"}) {
        if (!isOption(arg, name)) continue;
        const std::optional<std::string> value = valueOf(args, i, name);
        if (!value) return false;
        const std::string option(name);
        std::vector<brindlemoor::InitCompany>& companies = options.init.companies;
        if (option == "--root") {
            options.root = *value;
        } else if (option == "--summary") {
            options.summary = *value;
        } else if (option == "--server-db") {
            options.init.serverDatabase = *value;
        } else if (option == "--web-root") {
            options.init.webRoot = *value;
        } else if (option == "--company") {
            if (!isCompanyNumber(*value)) return false;
            companies.push_back({std::stoi(*value), ""});
        } else {
            if (companies.empty() || !companies.back().erp.empty() || value->empty()) return false;
            companies.back().erp = *value;
        }
        return true;
    }
    return false;
}

bool consistent(const Options& options) {
    const brindlemoor::InitOptions& init = options.init;
    const bool initValues = !init.serverDatabase.empty() || init.webRoot || !init.companies.empty();
    if (options.mode == Mode::Init) {
        if (init.serverDatabase.empty()) return false;
        for (const brindlemoor::InitCompany& company : init.companies) {
            if (company.erp.empty()) return false;
        }
    } else if (initValues) {
        return false;
    }
    return !options.summary || options.mode == Mode::Run;
}

std::optional<Options> parse(const std::vector<std::string>& args) {
    Options options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        bool known = true;
        if (arg == "--run") {
            known = setMode(options, Mode::Run);
        } else if (arg == "--check") {
            known = setMode(options, Mode::Check);
        } else if (arg == "--init") {
            known = setMode(options, Mode::Init);
        } else if (arg == "--version") {
            known = setMode(options, Mode::Version);
        } else if (arg == "--help" || arg == "-h") {
            known = setMode(options, Mode::Help);
        } else {
            known = parseValue(args, i, options);
        }
        if (!known) return std::nullopt;
    }
    if (!consistent(options)) return std::nullopt;
    return options;
}

// BRINDLEMOOR_LOCK_WAIT in whole seconds; nullopt when it is set to anything else.
std::optional<std::chrono::milliseconds> lockWait() {
    const char* text = std::getenv("BRINDLEMOOR_LOCK_WAIT");
    if (text == nullptr || *text == '\0') return brindlemoor::kDefaultRunLockWait;
    const std::string value(text);
    if (value.size() > 6 || value.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    return std::chrono::seconds(std::stol(value));
}

#ifdef BRINDLEMOOR_WINDOW
// Qt aborts when it finds no display; say so before it gets the chance.
bool hasDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return true;
    }
    return false;
}
#endif

int runWindow([[maybe_unused]] const platform::MachineRoot& root,
              [[maybe_unused]] const brindlemoor::RunOptions& runOptions,
              [[maybe_unused]] int& argc, [[maybe_unused]] char** argv) {
#ifdef BRINDLEMOOR_WINDOW
    if (!hasDisplay()) {
        std::cerr << "brindlemoor: no display (neither DISPLAY nor WAYLAND_DISPLAY is set); use "
                     "--run to synchronize without a window\n";
        return 1;
    }
    return brindlemoor::RunWindow(root, argc, argv, runOptions);
#else
    std::cerr << "brindlemoor: this build has no window; use --run\n";
    return 2;
#endif
}

int run(const Options& options, int& argc, char** argv) {
    switch (options.mode) {
        case Mode::Help:
            std::cout << kUsage;
            return 0;
        case Mode::Version:
            std::cout << "brindlemoor " << TAVIRO_VERSION << "\n";
            return 0;
        case Mode::Init: {
            const platform::MachineRoot root = platform::MachineRoot::resolve(options.root);
            return brindlemoor::InitServer(root, options.init, std::cout, std::cerr);
        }
        case Mode::Check: {
            const platform::MachineRoot root = platform::MachineRoot::resolve(options.root);
            return brindlemoor::CheckServer(root, std::cout);
        }
        case Mode::Run:
        case Mode::Window:
            break;
    }
    const std::optional<std::chrono::milliseconds> wait = lockWait();
    if (!wait) {
        std::cerr << "brindlemoor: BRINDLEMOOR_LOCK_WAIT must be a number of seconds\n";
        return 2;
    }
    brindlemoor::RunOptions runOptions;
    runOptions.lockWait = *wait;
    const platform::MachineRoot root = platform::MachineRoot::resolve(options.root);
    if (options.mode == Mode::Window) return runWindow(root, runOptions, argc, argv);
    brindlemoor::HeadlessOptions headless;
    headless.run = runOptions;
    if (options.summary) headless.summary = *options.summary;
    return brindlemoor::RunHeadless(root, std::cout, std::cerr, headless);
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = parse(std::vector<std::string>(argv + 1, argv + argc));
    if (!options) {
        std::cerr << kUsage;
        return 2;
    }
    try {
        return run(*options, argc, argv);
    } catch (const platform::PlatformError& error) {
        std::cerr << "brindlemoor: " << platform::formatFailureCode(error.code()) << ' '
                  << brindlemoor::MaskPasswords(error.description()) << '\n';
        return 1;
    }
}
