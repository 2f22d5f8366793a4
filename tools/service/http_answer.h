#pragma once
// Answers of the local services. Work that may fail runs inside answerWith(): a RequestError
// becomes its status with the message, a platform failure 500 with its failure code and
// description (as text/plain, one line), so every refusal reaches the caller as a readable text.
#include <httplib.h>

#include <string>

#include "platform/failure.h"
#include "tools/service/request_error.h"

namespace taviro::service {

inline constexpr const char* kJsonType = "application/json";
inline constexpr const char* kTextType = "text/plain; charset=utf-8";
inline constexpr const char* kXmlType = "application/xml";

struct Answer {
    int status = 200;
    std::string body;
    std::string contentType = kJsonType;
};

void send(httplib::Response& res, const Answer& answer);

// Fills in a refusal (the text and a line end) and says the request is handled.
httplib::Server::HandlerResponse refuse(httplib::Response& res, int status, const std::string& why);

// Runs `work` (returning an Answer) and sends its answer or its failure.
template <typename Work>
void answerWith(httplib::Response& res, Work&& work) {
    Answer answer;
    try {
        answer = work();
    } catch (const RequestError& error) {
        answer = Answer{error.status, error.message + "\n", kTextType};
    } catch (const platform::PlatformError& error) {
        answer = Answer{
            500, platform::formatFailureCode(error.code()) + " " + error.description() + "\n",
            kTextType};
    }
    send(res, answer);
}

// Gives library-made error answers (404, 413, ...) a text body, and turns an exception that
// escapes a handler into a 500 answer with its message.
void installErrorAnswers(httplib::Server& server);

}  // namespace taviro::service
