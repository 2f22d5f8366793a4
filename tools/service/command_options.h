#pragma once
// Command-line options both serving programs read the same way.
#include <optional>
#include <string>
#include <vector>

namespace taviro::service {

// The value of "--name VALUE" or "--name=VALUE" at args[i]; advances i past a separate value.
std::optional<std::string> optionValue(const std::vector<std::string>& args, size_t& i,
                                       const std::string& name);

// A port number from 0 to 65535 written in decimal; nullopt for anything else.
std::optional<int> parsePort(const std::string& text);

}  // namespace taviro::service
