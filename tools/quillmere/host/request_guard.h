#pragma once
// The host's defence against other web pages. Any page the engineer visits can make the browser
// send requests to 127.0.0.1, so the host accepts only requests that can only come from its own
// page: addressed to its own name (defeats DNS rebinding), from its own origin, and - for the
// API - carrying the token that only its own page got.
#include <optional>
#include <string>
#include <string_view>

namespace quillmere::host {

inline constexpr std::string_view kTokenCookie = "quillmere_token";
inline constexpr std::string_view kTokenHeader = "X-Quillmere-Token";

// A new random token (hex) from the kernel's random source.
std::string makeToken();

// Texts compared in time that does not depend on where they differ.
bool sameSecret(std::string_view a, std::string_view b);

class RequestGuard {
  public:
    RequestGuard(std::string token, int port);

    const std::string& token() const { return token_; }

    // Host must be 127.0.0.1:PORT or localhost:PORT.
    bool hostAllowed(std::string_view host) const;
    // No Origin header, or the page's own origin (http://127.0.0.1:PORT, http://localhost:PORT).
    bool originAllowed(const std::optional<std::string>& origin) const;
    // The token from the cookie header or the token header matches.
    bool tokenPresented(std::string_view cookieHeader, std::string_view tokenHeader) const;
    // The value of the cookie `name` in a Cookie header; empty when absent.
    static std::string cookieValue(std::string_view cookieHeader, std::string_view name);

    // The Set-Cookie value that hands the token to the page.
    std::string tokenCookie() const;

  private:
    std::string token_;
    std::string port_;
};

}  // namespace quillmere::host
