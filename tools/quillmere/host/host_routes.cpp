#include "tools/quillmere/host/host_routes.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <variant>

#include "platform/text_file.h"
#include "tools/quillmere/host/page_services.h"
#include "tools/quillmere/host/static_files.h"
#include "tools/quillmere/json_call.h"
#include "tools/service/http_answer.h"

namespace quillmere::host {

namespace {

using httplib::Request;
using httplib::Response;
using taviro::service::Answer;
using taviro::service::refuse;
using HandlerResponse = httplib::Server::HandlerResponse;

std::string dumpJson(const nlohmann::ordered_json& value) {
    return value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::optional<std::string> headerOf(const Request& req, const char* name) {
    if (!req.has_header(name)) return std::nullopt;
    return req.get_header_value(name);
}

// Runs the work on the call thread, in turn with the component's calls.
template <typename Work>
void answerOnCallThread(Response& res, CallThread& calls, Work work) {
    taviro::service::answerWith(
        res, [&] { return calls.run([&](Client20& client) { return work(client); }); });
}

HandlerResponse guardRequest(const RequestGuard& guard, const Request& req, Response& res) {
    if (!guard.hostAllowed(req.get_header_value("Host")))
        return refuse(
            res, 421,
            "This host answers only requests addressed to 127.0.0.1 or localhost and its port.");
    if (!guard.originAllowed(headerOf(req, "Origin")))
        return refuse(res, 403, "Requests from other origins are refused.");
    if (req.path.rfind("/api/", 0) == 0) {
        res.set_header("Cache-Control", "no-store");
        if (!guard.tokenPresented(req.get_header_value("Cookie"),
                                  req.get_header_value(std::string(kTokenHeader).c_str())))
            return refuse(res, 403,
                          "The API needs the session token: open the URL the host printed.");
    }
    return HandlerResponse::Unhandled;
}

void serveFile(const std::filesystem::path& folder, const std::string& path, Response& res) {
    const auto resolved = resolveStaticFile(folder, path);
    if (const auto* refusal = std::get_if<StaticRefusal>(&resolved)) {
        if (*refusal == StaticRefusal::Forbidden)
            refuse(res, 403, "That path leads outside the application's files.");
        else
            refuse(res, 404, "Not found.");
        return;
    }
    const auto& file = std::get<std::filesystem::path>(resolved);
    taviro::service::answerWith(res, [&] {
        return Answer{200, platform::readWholeFile(file), contentTypeOf(file)};
    });
}

void installApi(httplib::Server& http, const HostSettings& settings, CallThread& calls) {
    http.Post("/api/call", [&calls](const Request& req, Response& res) {
        answerOnCallThread(res, calls, [&req](Client20& client) {
            return Answer{200, tool::answerJsonCall(client, req.body)};
        });
    });
    http.Get("/api/config", [&settings](const Request&, Response& res) {
        taviro::service::send(
            res, Answer{200, dumpJson({{"company", settings.companyUrl},
                                       {"version", TAVIRO_VERSION},
                                       {"root", settings.root.directory().string()}})});
    });
    http.Get("/api/state", [&settings, &calls](const Request&, Response& res) {
        answerOnCallThread(res, calls, [&settings](Client20&) {
            return Answer{200, readPageState(settings.root)};
        });
    });
    http.Put("/api/state", [&settings, &calls](const Request& req, Response& res) {
        answerOnCallThread(res, calls, [&settings, &req](Client20&) {
            writePageState(settings.root, req.body);
            return Answer{200, "{}"};
        });
    });
    http.Get("/api/status", [&settings, &calls](const Request&, Response& res) {
        answerOnCallThread(res, calls, [&settings](Client20&) {
            return Answer{200,
                          dumpJson({{"waitingForUpload", countWaitingForUpload(settings.root)}})};
        });
    });
    http.Post("/api/download", [&settings, &calls](const Request& req, Response& res) {
        answerOnCallThread(res, calls, [&settings, &req](Client20&) {
            const std::string saved =
                saveDownload(settings.root, req.get_param_value("name"), req.body);
            return Answer{200, dumpJson({{"saved", saved}})};
        });
    });
}

}  // namespace

void installRoutes(taviro::service::LocalHttpServer& server, const HostSettings& settings,
                   const RequestGuard& guard, CallThread& calls) {
    httplib::Server& http = server.http();
    http.set_payload_max_length(kMaxRequestBytes);
    server.setGuard(
        [&guard](const Request& req, Response& res) { return guardRequest(guard, req, res); });
    installApi(http, settings, calls);
    http.Get("/delivered/.*", [&settings](const Request& req, Response& res) {
        serveFile(settings.deliveredDataFolder,
                  req.path.substr(std::string_view("/delivered").size()), res);
    });
    http.Get(".*", [&settings, &guard](const Request& req, Response& res) {
        if (req.has_param("token") && sameSecret(req.get_param_value("token"), guard.token()))
            res.set_header("Set-Cookie", guard.tokenCookie());
        serveFile(settings.applicationFolder, req.path, res);
    });
    taviro::service::installErrorAnswers(http);
}

}  // namespace quillmere::host
