#pragma once
// What the engineer's host and the company-server stand-in share about serving HTTP: they
// listen on the loopback interface only, write one line per request on standard error
// ("GET /api/call 200 3ms": method, path without query, status, milliseconds), and stop cleanly
// on SIGINT or SIGTERM.
#include <httplib.h>

#include <functional>

namespace taviro::service {

// Blocks SIGINT and SIGTERM in the calling thread and in every thread started after it. Call it
// first in a serving command, before any thread exists, so that only the server's own waiter
// receives them and the server can stop in an orderly way.
void blockStopSignals();

class LocalHttpServer {
  public:
    using Guard = std::function<httplib::Server::HandlerResponse(const httplib::Request&,
                                                                 httplib::Response&)>;

    LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    // For registering routes.
    httplib::Server& http() { return server_; }

    // Runs before routing (and before a request body is read) for every request; a guard that
    // answers Handled has refused the request with the response it filled in.
    void setGuard(Guard guard) { guard_ = std::move(guard); }

    // Binds 127.0.0.1:port; port 0 picks a free one. Returns the bound port, or -1 when the
    // port cannot be bound.
    int bind(int port);

    // Serves until SIGINT or SIGTERM (blocked beforehand with blockStopSignals) arrives.
    // Returns false when listening failed.
    bool serveUntilStopped();

  private:
    httplib::Server server_;
    Guard guard_;
};

// The path as it may appear in a log line: bytes that are not printable ASCII as %XX, so that a
// request cannot write control characters or fake lines into the log.
std::string loggablePath(std::string_view path);

}  // namespace taviro::service
