#include "tests/support/temp_root.h"

#include <stdlib.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testing_support {

namespace {
std::filesystem::path makeTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "taviro-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    return pattern;
}
}  // namespace

TempRoot::TempRoot(bool withDriveC) : dir_(makeTempDir()), root_(dir_) {
    if (withDriveC) std::filesystem::create_directories(dir_ / "C");
}

TempRoot::~TempRoot() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

}  // namespace testing_support
