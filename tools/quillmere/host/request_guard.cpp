#include "tools/quillmere/host/request_guard.h"

#include <sys/random.h>

#include <array>
#include <cerrno>

#include "platform/failure.h"
#include "platform/text.h"

namespace quillmere::host {

namespace {

constexpr size_t kTokenBytes = 24;

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

}  // namespace

std::string makeToken() {
    std::array<unsigned char, kTokenBytes> bytes{};
    size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = getrandom(bytes.data() + filled, bytes.size() - filled, 0);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0)
            throw platform::PlatformError(platform::failure::kGeneral,
                                          "The random source cannot be read");
        filled += static_cast<size_t>(got);
    }
    static const char kHex[] = "0123456789abcdef";
    std::string token;
    for (const unsigned char byte : bytes) {
        token += kHex[byte >> 4];
        token += kHex[byte & 0x0F];
    }
    return token;
}

bool sameSecret(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    unsigned char difference = 0;
    for (size_t i = 0; i < a.size(); ++i) difference |= static_cast<unsigned char>(a[i] ^ b[i]);
    return difference == 0;
}

RequestGuard::RequestGuard(std::string token, int port)
    : token_(std::move(token)), port_(std::to_string(port)) {}

bool RequestGuard::hostAllowed(std::string_view host) const {
    // Host names compare without regard to case; the port must be the one we listen on.
    return platform::equalsIgnoreCase(host, "127.0.0.1:" + port_) ||
           platform::equalsIgnoreCase(host, "localhost:" + port_);
}

bool RequestGuard::originAllowed(const std::optional<std::string>& origin) const {
    if (!origin) return true;
    return *origin == "http://127.0.0.1:" + port_ || *origin == "http://localhost:" + port_;
}

bool RequestGuard::tokenPresented(std::string_view cookieHeader,
                                  std::string_view tokenHeader) const {
    const std::string fromCookie = cookieValue(cookieHeader, kTokenCookie);
    return (!fromCookie.empty() && sameSecret(fromCookie, token_)) ||
           (!tokenHeader.empty() && sameSecret(tokenHeader, token_));
}

std::string RequestGuard::cookieValue(std::string_view cookieHeader, std::string_view name) {
    size_t start = 0;
    while (start <= cookieHeader.size()) {
        size_t end = cookieHeader.find(';', start);
        if (end == std::string_view::npos) end = cookieHeader.size();
        const std::string_view pair = trimmed(cookieHeader.substr(start, end - start));
        const size_t equals = pair.find('=');
        if (equals != std::string_view::npos && trimmed(pair.substr(0, equals)) == name)
            return std::string(trimmed(pair.substr(equals + 1)));
        start = end + 1;
    }
    return {};
}

std::string RequestGuard::tokenCookie() const {
    return std::string(kTokenCookie) + "=" + token_ + "; Path=/; HttpOnly; SameSite=Strict";
}

}  // namespace quillmere::host
