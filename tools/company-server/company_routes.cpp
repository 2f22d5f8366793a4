#include "tools/company-server/company_routes.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "tools/company-server/core/masterdata_shelf.h"
#include "tools/service/http_answer.h"

namespace company_server {

namespace {

using httplib::Request;
using httplib::Response;
using taviro::service::Answer;
using taviro::service::answerWith;
using taviro::service::kTextType;
using taviro::service::kXmlType;
using taviro::service::refuse;
using HandlerResponse = httplib::Server::HandlerResponse;

bool allowedOrigin(const std::vector<std::string>& origins, const std::string& origin) {
    return std::find(origins.begin(), origins.end(), origin) != origins.end();
}

HandlerResponse applyCors(const std::vector<std::string>& origins, const Request& req,
                          Response& res) {
    if (!req.has_header("Origin")) return HandlerResponse::Unhandled;
    const std::string origin = req.get_header_value("Origin");
    if (!allowedOrigin(origins, origin)) {
        // A foreign page may read nothing, and may change nothing either.
        if (req.method == "OPTIONS" || req.method == "POST")
            return refuse(res, 403, "Requests from origin " + origin + " are refused.");
        return HandlerResponse::Unhandled;
    }
    res.set_header("Access-Control-Allow-Origin", origin);
    res.set_header("Vary", "Origin");
    res.set_header("Access-Control-Expose-Headers", "Content-Disposition, X-Service-Center");
    if (req.method != "OPTIONS") return HandlerResponse::Unhandled;
    res.set_header("Access-Control-Allow-Methods", "GET, POST, OPTIONS");
    res.set_header("Access-Control-Allow-Headers", "Content-Type");
    res.set_header("Access-Control-Max-Age", "600");
    res.status = 204;
    return HandlerResponse::Handled;
}

void installMasterData(httplib::Server& http, CompanyDesk& desk) {
    http.Get("/masterdata/package", [&desk](const Request& req, Response& res) {
        answerWith(res, [&] {
            const Package package = masterDataPackage(desk.files(), req.get_param_value("center"));
            res.set_header("Content-Disposition",
                           "attachment; filename=\"" + package.center + ".exe\"");
            res.set_header("X-Service-Center", package.center);
            return Answer{200, package.bytes, "application/octet-stream"};
        });
    });
    http.Get("/masterdata/([^/]+)/", [&desk](const Request& req, Response& res) {
        answerWith(res, [&] {
            const nlohmann::json names = changeFileNames(desk.files(), req.matches[1].str());
            return Answer{200,
                          names.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)};
        });
    });
    http.Get("/masterdata/([^/]+)/([^/]+)", [&desk](const Request& req, Response& res) {
        answerWith(res, [&] {
            return Answer{200, changeFile(desk.files(), req.matches[1].str(), req.matches[2].str()),
                          kXmlType};
        });
    });
}

}  // namespace

void installRoutes(taviro::service::LocalHttpServer& server, CompanyDesk& desk,
                   const std::vector<std::string>& origins) {
    httplib::Server& http = server.http();
    http.set_payload_max_length(kMaxUploadBytes);
    server.setGuard(
        [&origins](const Request& req, Response& res) { return applyCors(origins, req, res); });
    http.Get("/orders", [&desk](const Request& req, Response& res) {
        answerWith(res, [&] {
            if (!req.has_param("engineer"))
                return Answer{400, "Name the engineer: /orders?engineer=E\n", kTextType};
            return Answer{200, desk.orders(req.get_param_value("engineer")), kXmlType};
        });
    });
    http.Post("/upload", [&desk](const Request& req, Response& res) {
        answerWith(res, [&] {
            if (!req.has_param("name"))
                return Answer{400, "Name the upload: /upload?name=F\n", kTextType};
            return Answer{
                200,
                desk.upload(req.get_param_value("name"), req.get_param_value("engineer"), req.body),
                kXmlType};
        });
    });
    installMasterData(http, desk);
    taviro::service::installErrorAnswers(http);
}

}  // namespace company_server
