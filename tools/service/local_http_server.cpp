#include "tools/service/local_http_server.h"

#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace taviro::service {

namespace {

using Clock = std::chrono::steady_clock;

// Requests are served by the library's worker threads: each notes when its request began.
thread_local std::optional<Clock::time_point> requestStart;

std::mutex logMutex;

sigset_t stopSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

void logRequest(const httplib::Request& req, const httplib::Response& res) {
    long long ms = 0;
    if (requestStart) {
        ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - *requestStart)
                 .count();
        requestStart.reset();
    }
    const std::string line = (req.method.empty() ? "-" : loggablePath(req.method)) + " " +
                             (req.path.empty() ? "-" : loggablePath(req.path)) + " " +
                             std::to_string(res.status) + " " + std::to_string(ms) + "ms\n";
    const std::lock_guard<std::mutex> lock(logMutex);
    std::cerr << line << std::flush;
}

}  // namespace

void blockStopSignals() {
    const sigset_t set = stopSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

std::string loggablePath(std::string_view path) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(path.size());
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte > 0x20 && byte < 0x7F && byte != '%') {
            out += c;
        } else {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        }
    }
    return out;
}

LocalHttpServer::LocalHttpServer() {
    server_.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
        requestStart = Clock::now();
        return guard_ ? guard_(req, res) : httplib::Server::HandlerResponse::Unhandled;
    });
    server_.set_logger(logRequest);
}

int LocalHttpServer::bind(int port) {
    // Never another interface: the services are for this machine's own browser.
    if (port == 0) return server_.bind_to_any_port("127.0.0.1");
    return server_.bind_to_port("127.0.0.1", port) ? port : -1;
}

bool LocalHttpServer::serveUntilStopped() {
    std::atomic<bool> finished = false;
    std::thread waiter([this, &finished] {
        const sigset_t set = stopSignals();
        const timespec tick{0, 100'000'000};
        while (!finished) {
            if (sigtimedwait(&set, nullptr, &tick) > 0) {
                server_.stop();
                return;
            }
        }
    });
    const bool served = server_.listen_after_bind();
    finished = true;
    waiter.join();
    return served;
}

}  // namespace taviro::service
