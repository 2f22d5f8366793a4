#include "sync/core/password_mask.h"

#include <cctype>

#include "platform/text.h"

namespace brindlemoor {

namespace {

constexpr std::string_view kMask = "***";

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isKeyChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// Where the value that starts at `begin` ends. `odbc`: up to ';' (braces may hold one);
// otherwise up to a blank, '&' or ';' (quotes may hold them).
size_t valueEnd(std::string_view text, size_t begin, bool odbc) {
    if (begin < text.size() && (text[begin] == '{' || text[begin] == '\'')) {
        const char close = text[begin] == '{' ? '}' : '\'';
        for (size_t pos = begin + 1; pos < text.size(); ++pos) {
            if (text[pos] == '\\' && close == '\'') {
                ++pos;
            } else if (text[pos] == close) {
                // A doubled closing brace stands for one brace inside the value.
                if (close == '}' && pos + 1 < text.size() && text[pos + 1] == '}') {
                    ++pos;
                    continue;
                }
                return pos + 1;
            }
        }
        return text.size();
    }
    size_t pos = begin;
    while (pos < text.size() && text[pos] != ';' &&
           (odbc || (!isBlank(text[pos]) && text[pos] != '&')))
        ++pos;
    return pos;
}

// The length of a password key ("PWD" or "password") standing at `pos` as a whole word and
// followed by '=' (blanks allowed around it), with where its value begins; 0 when none.
size_t passwordKey(std::string_view text, size_t pos, size_t& valueBegin, bool& odbc) {
    if (pos > 0 && isKeyChar(text[pos - 1])) return 0;
    for (const std::string_view key : {std::string_view("password"), std::string_view("pwd")}) {
        if (!platform::startsWithIgnoreCase(text.substr(pos), key)) continue;
        size_t after = pos + key.size();
        while (after < text.size() && text[after] == ' ') ++after;
        if (after >= text.size() || text[after] != '=') continue;
        ++after;
        while (after < text.size() && text[after] == ' ') ++after;
        valueBegin = after;
        odbc = key == "pwd";
        return key.size();
    }
    return 0;
}

// "scheme://user:password@": the password's range, when `pos` starts "://".
bool uriPassword(std::string_view text, size_t pos, size_t& begin, size_t& end) {
    if (text.substr(pos, 3) != "://") return false;
    const size_t authority = pos + 3;
    size_t stop = authority;
    while (stop < text.size() && text[stop] != '/' && text[stop] != '?' && text[stop] != '#' &&
           !isBlank(text[stop]) && text[stop] != '\'' && text[stop] != '"')
        ++stop;
    const size_t at = text.rfind('@', stop == 0 ? 0 : stop - 1);
    if (at == std::string_view::npos || at < authority || at >= stop) return false;
    const size_t colon = text.find(':', authority);
    if (colon == std::string_view::npos || colon > at) return false;
    begin = colon + 1;
    end = at;
    return true;
}

}  // namespace

std::string MaskPasswords(std::string_view text) {
    std::string masked;
    masked.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        size_t begin = 0;
        size_t end = 0;
        bool odbc = false;
        if (uriPassword(text, pos, begin, end)) {
            masked.append(text.substr(pos, begin - pos));
            if (end > begin) masked.append(kMask);
            pos = end;
        } else if (passwordKey(text, pos, begin, odbc) != 0) {
            end = valueEnd(text, begin, odbc);
            masked.append(text.substr(pos, begin - pos));
            if (end > begin) masked.append(kMask);
            pos = end;
        } else {
            masked += text[pos++];
        }
    }
    return masked;
}

}  // namespace brindlemoor
