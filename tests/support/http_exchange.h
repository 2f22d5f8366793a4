#pragma once
// One HTTP/1.1 exchange written byte for byte, so that tests can send what a browser would not
// (a foreign Host, an escaping path, an oversized body) and see exactly what comes back. Header
// only (POSIX).
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <stdexcept>
#include <string>

namespace testing_support {

struct HttpReply {
    int status = -1;
    std::map<std::string, std::string> headers;  // names in lower case
    std::string body;

    std::string header(const std::string& name) const {
        const auto found = headers.find(name);
        return found == headers.end() ? "" : found->second;
    }
    bool has(const std::string& name) const { return headers.count(name) > 0; }
};

struct HttpRequest {
    std::string method = "GET";
    std::string target = "/";
    std::map<std::string, std::string> headers;  // Host and Connection are added unless given
    std::string body;
};

inline HttpReply parseHttpReply(const std::string& raw) {
    HttpReply reply;
    const size_t headEnd = raw.find("\r\n\r\n");
    if (raw.rfind("HTTP/1.", 0) != 0 || headEnd == std::string::npos) return reply;
    reply.status = std::stoi(raw.substr(9, 3));
    size_t line = raw.find("\r\n") + 2;
    while (line < headEnd) {
        const size_t end = raw.find("\r\n", line);
        const std::string field = raw.substr(line, end - line);
        const size_t colon = field.find(':');
        std::string name = field.substr(0, colon);
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return std::tolower(c); });
        const size_t value = field.find_first_not_of(' ', colon + 1);
        reply.headers[name] = value == std::string::npos ? "" : field.substr(value);
        line = end + 2;
    }
    reply.body = raw.substr(headEnd + 4);
    return reply;
}

// Sends the request to 127.0.0.1:port on a connection of its own and reads the reply until the
// server closes it.
inline HttpReply httpExchange(int port, HttpRequest request) {
    if (!request.headers.count("Host"))
        request.headers["Host"] = "127.0.0.1:" + std::to_string(port);
    request.headers["Connection"] = "close";
    if (!request.body.empty() || request.method == "POST" || request.method == "PUT")
        request.headers["Content-Length"] = std::to_string(request.body.size());
    std::string raw = request.method + " " + request.target + " HTTP/1.1\r\n";
    for (const auto& [name, value] : request.headers) raw += name + ": " + value + "\r\n";
    raw += "\r\n";
    raw += request.body;

    const int sock = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (sock < 0 || connect(sock, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        if (sock >= 0) close(sock);
        throw std::runtime_error("cannot connect to port " + std::to_string(port));
    }
    for (size_t sent = 0; sent < raw.size();) {
        const ssize_t n = send(sock, raw.data() + sent, raw.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) break;  // the server may answer and close before it has read everything
        sent += static_cast<size_t>(n);
    }
    std::string answer;
    char buffer[65536];
    for (ssize_t n; (n = recv(sock, buffer, sizeof buffer, 0)) > 0;) answer.append(buffer, n);
    close(sock);
    return parseHttpReply(answer);
}

}  // namespace testing_support
