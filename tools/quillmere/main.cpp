// quillmere: calls the client component's methods, edits the machine's registry and serves the
// engineer's application from the command line.
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "platform/failure.h"
#include "tools/quillmere/commands.h"
#include "tools/quillmere/host/serve_command.h"

namespace {

const char kHelp[] =
    "usage: quillmere [--root R] call METHOD [ARG...]\n"
    "       quillmere [--root R] batch\n"
    "       quillmere [--root R] reg get KEY NAME\n"
    "       quillmere [--root R] reg set KEY NAME sz|dword DATA\n"
    "       quillmere [--root R] reg delete KEY [NAME]\n"
    "       quillmere [--root R] reg list KEY\n"
    "       quillmere [--root R] path WINDOWS-PATH\n"
    "       quillmere [--root R] serve [--port N] [--company URL] [--open]\n"
    "       quillmere methods\n"
    "       quillmere --version\n"
    "\n"
    "call    invokes one method of Client20 and prints its result exactly\n"
    "        (exit 0 success, 1 the call failed, 2 usage error)\n"
    "batch   reads JSON lines [\"METHOD\", arg, ...] and answers one JSON line each;\n"
    "        all calls share one component instance\n"
    "reg     reads and writes the registry of the root (exit 3 when a key or value is missing)\n"
    "path    prints the Linux path a Windows path maps to\n"
    "serve   serves the engineer's application on 127.0.0.1 (prints its URL; Ctrl-C stops it)\n"
    "methods lists the methods of Client20 with their parameters\n"
    "\n"
    "The machine root is --root, else $TAVIRO_ROOT, else $XDG_DATA_HOME/taviro. A root named by\n"
    "--root or TAVIRO_ROOT must exist; the default root is made on first use.\n";

}  // namespace

int main(int argc, char** argv) {
    using namespace quillmere::tool;
    std::vector<std::string> args(argv + 1, argv + argc);
    std::optional<std::string> rootOption;
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << kHelp;
        return kOk;
    }
    if (!args.empty() && args[0] == "--version") {
        std::cout << "quillmere " << TAVIRO_VERSION << '\n';
        return kOk;
    }
    if (args.size() >= 2 && args[0] == "--root") {
        rootOption = args[1];
        args.erase(args.begin(), args.begin() + 2);
    } else if (!args.empty() && args[0].rfind("--root=", 0) == 0) {
        rootOption = args[0].substr(7);
        args.erase(args.begin());
    }
    if (args.empty()) {
        std::cerr << kHelp;
        return kUsage;
    }
    const std::string command = args[0];
    args.erase(args.begin());
    if (command == "--help" || command == "help") {
        std::cout << kHelp;
        return kOk;
    }
    if (command == "methods") return runMethods(args, std::cout, std::cerr);
    if (command != "call" && command != "batch" && command != "reg" && command != "path" &&
        command != "serve") {
        std::cerr << "quillmere: unknown command '" << command << "'\n" << kHelp;
        return kUsage;
    }
    try {
        const RootChoice root = chooseRoot(rootOption);
        if (const auto problem = rootProblem(root)) {
            std::cerr << *problem << '\n';
            return kCallFailed;
        }
        if (command == "call") return runCall(root, args, std::cout, std::cerr);
        if (command == "batch") {
            // A line may be megabytes (a change file): read standard input in blocks, not a
            // character at a time through C's stdio. Nothing has used the streams yet.
            std::ios::sync_with_stdio(false);
            return runBatch(root, std::cin, std::cout, std::cerr);
        }
        if (command == "reg") return runRegistry(root, args, std::cout, std::cerr);
        if (command == "path") return runPath(root, args, std::cout, std::cerr);
        return runServe(root, args, std::cout, std::cerr);
    } catch (const platform::PlatformError& error) {
        std::cerr << platform::formatFailureCode(error.code()) << ' ' << error.description()
                  << '\n';
        return kCallFailed;
    }
}
