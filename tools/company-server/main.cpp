// company-server: a stand-in for the company's web application, for the engineer's page, the
// tests and the demonstration. It serves one server root on 127.0.0.1.
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "platform/machine_root.h"
#include "tools/company-server/company_routes.h"
#include "tools/service/install_dirs.h"
#include "tools/service/local_http_server.h"

namespace {

namespace fs = std::filesystem;

const char kHelp[] =
    "usage: company-server --root S [--port N] [--origin URL]... [--seed FILE]\n"
    "       company-server --version\n"
    "\n"
    "A stand-in for the company's web server, on 127.0.0.1 (prints its URL; Ctrl-C stops it):\n"
    "  GET  /orders?engineer=E                the engineer's download document\n"
    "  POST /upload?name=F[&engineer=E]       takes an upload, answers the upload report\n"
    "  GET  /masterdata/<company>/            the company's change files (JSON array)\n"
    "  GET  /masterdata/<company>/<file>      one change file\n"
    "  GET  /masterdata/package[?center=C]    the master-data package of a service center\n"
    "\n"
    "--root S     the server root (as the synchronizer's; else $TAVIRO_ROOT); it must exist\n"
    "--port N     the port (0 or none: a free one)\n"
    "--origin URL the application's origin, allowed to fetch from the page (repeatable)\n"
    "--seed FILE  the download document for an engineer the server has none for yet\n"
    "             (default: the delivered samples/download.xml)\n";

struct Options {
    std::string root;
    int port = 0;
    std::vector<std::string> origins;
    std::string seed;
};

std::optional<std::string> optionValue(const std::vector<std::string>& args, size_t& i,
                                       const std::string& name) {
    if (args[i] == name && i + 1 < args.size()) return args[++i];
    if (args[i].rfind(name + "=", 0) == 0) return args[i].substr(name.size() + 1);
    return std::nullopt;
}

bool parsePort(const std::string& text, int& port) {
    const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    return error == std::errc() && stop == text.data() + text.size() && port >= 0 && port <= 65535;
}

std::optional<Options> parseOptions(const std::vector<std::string>& args) {
    Options options;
    for (size_t i = 0; i < args.size(); ++i) {
        if (auto root = optionValue(args, i, "--root")) {
            options.root = *root;
        } else if (auto port = optionValue(args, i, "--port")) {
            if (!parsePort(*port, options.port)) return std::nullopt;
        } else if (auto origin = optionValue(args, i, "--origin")) {
            options.origins.push_back(*origin);
        } else if (auto seed = optionValue(args, i, "--seed")) {
            options.seed = *seed;
        } else {
            return std::nullopt;
        }
    }
    if (options.root.empty())
        if (const char* env = std::getenv("TAVIRO_ROOT"); env && *env) options.root = env;
    if (options.root.empty()) return std::nullopt;
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << kHelp;
        return 0;
    }
    if (!args.empty() && args[0] == "--version") {
        std::cout << "company-server " << TAVIRO_VERSION << '\n';
        return 0;
    }
    const auto options = parseOptions(args);
    if (!options) {
        std::cerr << kHelp;
        return 2;
    }
    std::error_code ec;
    const fs::path root = fs::absolute(options->root);
    if (!fs::is_directory(root, ec)) {
        std::cerr << "company-server: server root " << root.string()
                  << " does not exist; prepare it first (brindlemoor --init, or mkdir -p '"
                  << (root / "C").string() << "')\n";
        return 1;
    }
    const fs::path seed = options->seed.empty() ? taviro::service::deliveredDataDirectory() /
                                                      "samples" / "download.xml"
                                                : fs::absolute(options->seed);
    if (!options->seed.empty() && !fs::is_regular_file(seed, ec)) {
        std::cerr << "company-server: the seed " << seed.string() << " does not exist\n";
        return 2;
    }

    taviro::service::blockStopSignals();
    const platform::MachineRoot machine(root);
    company_server::CompanyDesk desk(company_server::ServerFiles(machine, seed), [machine] {
        return company_server::openServerItemCatalog(machine);
    });
    taviro::service::LocalHttpServer server;
    const int port = server.bind(options->port);
    if (port < 0) {
        std::cerr << "company-server: cannot listen on 127.0.0.1:" << options->port << '\n';
        return 1;
    }
    company_server::installRoutes(server, desk, options->origins);
    std::cout << "The company server stand-in is serving " << root.string()
              << " at http://127.0.0.1:" << port << std::endl;
    if (!server.serveUntilStopped()) {
        std::cerr << "company-server: serving on 127.0.0.1:" << port << " failed\n";
        return 1;
    }
    return 0;
}
