#include "tools/service/http_answer.h"

namespace taviro::service {

using httplib::Request;
using httplib::Response;
using HandlerResponse = httplib::Server::HandlerResponse;

void send(Response& res, const Answer& answer) {
    res.status = answer.status;
    res.set_content(answer.body, answer.contentType.c_str());
}

HandlerResponse refuse(Response& res, int status, const std::string& why) {
    send(res, Answer{status, why + "\n", kTextType});
    return HandlerResponse::Handled;
}

void installErrorAnswers(httplib::Server& server) {
    server.set_error_handler(httplib::Server::HandlerWithResponse([](const Request&,
                                                                     Response& res) {
        if (!res.body.empty()) return HandlerResponse::Unhandled;
        if (res.status == 413)
            res.set_content("Request bodies are limited to 64 MiB.\n", kTextType);
        else if (res.status == 404)
            res.set_content("Not found.\n", kTextType);
        else
            res.set_content("The request was refused (HTTP " + std::to_string(res.status) + ").\n",
                            kTextType);
        return HandlerResponse::Handled;
    }));
    server.set_exception_handler([](const Request&, Response& res, std::exception_ptr error) {
        std::string what = "Internal error.";
        try {
            if (error) std::rethrow_exception(error);
        } catch (const std::exception& e) {
            what = e.what();
        } catch (...) {
        }
        send(res, Answer{500, what + "\n", kTextType});
    });
}

}  // namespace taviro::service
