#include "tools/service/plain_name.h"

namespace taviro::service {

bool isPlainFileName(std::string_view name) {
    if (name.empty() || name.size() > 255) return false;
    if (name.find("..") != std::string_view::npos) return false;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || byte < 0x20 || byte == 0x7F) return false;
    }
    return true;
}

}  // namespace taviro::service
