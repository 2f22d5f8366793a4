#include "tools/service/install_dirs.h"

#include <cstdlib>
#include <system_error>

namespace taviro::service {

namespace fs = std::filesystem;

namespace {

fs::path shareDirectory() {
    std::error_code ec;
    const fs::path program = fs::read_symlink("/proc/self/exe", ec);
    const fs::path bin = ec ? fs::current_path() : program.parent_path();
    return bin.parent_path() / "share" / "taviro";
}

fs::path fromEnvironment(const char* name, const char* sub) {
    if (const char* value = std::getenv(name); value && *value) return fs::absolute(value);
    return shareDirectory() / sub;
}

}  // namespace

fs::path applicationDirectory() {
    return fromEnvironment("TAVIRO_APP_DIR", "app");
}
fs::path deliveredDataDirectory() {
    return fromEnvironment("TAVIRO_DATA_DIR", "data");
}

}  // namespace taviro::service
