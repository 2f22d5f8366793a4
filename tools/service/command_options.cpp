#include "tools/service/command_options.h"

#include <charconv>

namespace taviro::service {

std::optional<std::string> optionValue(const std::vector<std::string>& args, size_t& i,
                                       const std::string& name) {
    if (args[i] == name && i + 1 < args.size()) return args[++i];
    if (args[i].rfind(name + "=", 0) == 0) return args[i].substr(name.size() + 1);
    return std::nullopt;
}

std::optional<int> parsePort(const std::string& text) {
    int port = -1;
    const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (error != std::errc() || stop != text.data() + text.size() || port < 0 || port > 65535)
        return std::nullopt;
    return port;
}

}  // namespace taviro::service
