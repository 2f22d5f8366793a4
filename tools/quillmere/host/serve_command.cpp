#include "tools/quillmere/host/serve_command.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <charconv>
#include <iostream>
#include <optional>
#include <system_error>
#include <thread>

#include "platform/messages.h"
#include "tools/quillmere/commands.h"
#include "tools/quillmere/host/call_thread.h"
#include "tools/quillmere/host/host_routes.h"
#include "tools/quillmere/host/request_guard.h"
#include "tools/service/install_dirs.h"
#include "tools/service/local_http_server.h"

extern char** environ;

namespace quillmere::tool {

namespace {

const char kServeUsage[] =
    "usage: quillmere [--root R] serve [--port N] [--company URL] [--open]\n";

struct ServeOptions {
    int port = 0;
    std::string company;
    bool open = false;
};

std::optional<int> parsePort(const std::string& text) {
    int port = -1;
    const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (error != std::errc() || stop != text.data() + text.size() || port < 0 || port > 65535)
        return std::nullopt;
    return port;
}

// The value of "--name VALUE" or "--name=VALUE" at args[i]; advances i past it.
std::optional<std::string> optionValue(const std::vector<std::string>& args, size_t& i,
                                       const std::string& name) {
    if (args[i] == name && i + 1 < args.size()) return args[++i];
    if (args[i].rfind(name + "=", 0) == 0) return args[i].substr(name.size() + 1);
    return std::nullopt;
}

std::optional<ServeOptions> parseOptions(const std::vector<std::string>& args, std::ostream& err) {
    ServeOptions options;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--open") {
            options.open = true;
        } else if (auto port = optionValue(args, i, "--port")) {
            const auto number = parsePort(*port);
            if (!number) {
                err << "quillmere: --port takes a number from 0 to 65535\n";
                return std::nullopt;
            }
            options.port = *number;
        } else if (auto company = optionValue(args, i, "--company")) {
            if (company->rfind("http://", 0) != 0 && company->rfind("https://", 0) != 0) {
                err << "quillmere: --company takes an http:// or https:// URL\n";
                return std::nullopt;
            }
            options.company = *company;
        } else {
            err << kServeUsage;
            return std::nullopt;
        }
    }
    return options;
}

// Starts the desktop browser on the URL. Serving goes on whatever happens to the browser.
void openBrowser(const std::string& url, std::ostream& err) {
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    // The browser must not inherit the blocked stop signals of the serving process.
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
    std::string program = "xdg-open";
    char* argv[] = {program.data(), const_cast<char*>(url.c_str()), nullptr};
    pid_t pid = 0;
    const int failed = posix_spawnp(&pid, "xdg-open", nullptr, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    if (failed) {
        err << "quillmere: cannot start the desktop browser (xdg-open: "
            << std::generic_category().message(failed) << "); open the URL yourself\n";
        return;
    }
    std::thread([pid] {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            std::cerr << "quillmere: xdg-open could not open the browser; open the URL yourself\n";
    }).detach();
}

}  // namespace

int runServe(const RootChoice& root, const std::vector<std::string>& args, std::ostream& out,
             std::ostream& err) {
    const auto options = parseOptions(args, err);
    if (!options) return kUsage;
    // Before any thread exists, so that every thread inherits the blocked stop signals.
    taviro::service::blockStopSignals();
    prepareRoot(root);

    platform::StandardErrorMessageSink messages;
    host::CallThread calls(root.root, messages, [](const std::string& answer) {
        std::cerr << "quillmere: Initialize answered " << answer << '\n';
    });
    taviro::service::LocalHttpServer server;
    const int port = server.bind(options->port);
    if (port < 0) {
        err << "quillmere: cannot listen on 127.0.0.1:" << options->port << '\n';
        return kCallFailed;
    }
    const host::HostSettings settings{root.root, taviro::service::applicationDirectory(),
                                      taviro::service::deliveredDataDirectory(), options->company};
    const host::RequestGuard guard(host::makeToken(), port);
    host::installRoutes(server, settings, guard, calls);

    std::error_code ec;
    if (!std::filesystem::is_directory(settings.applicationFolder, ec))
        err << "quillmere: the application's files are not at "
            << settings.applicationFolder.string() << " (set TAVIRO_APP_DIR)\n";
    const std::string url = "http://127.0.0.1:" + std::to_string(port) + "/?token=" + guard.token();
    out << "Quillmere is serving the application at " << url << std::endl;
    if (options->open) openBrowser(url, err);
    if (!server.serveUntilStopped()) {
        err << "quillmere: serving on 127.0.0.1:" << port << " failed\n";
        return kCallFailed;
    }
    return kOk;
}

}  // namespace quillmere::tool
