#include "component/core/field_mapper_document.h"

#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "component/core/install_paths.h"

namespace quillmere {

namespace {

std::optional<std::string> readFile(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

}  // namespace

bool LoadFieldMapperDocument(Session& session) {
    const std::filesystem::path file = session.path(paths::kFieldMapper);
    // A file's identity (inode, size, time stamp) cannot tell two versions apart that were
    // written in place within one tick of the file system's clock, so the content itself
    // decides whether the parsed document can be kept.
    FieldMapperLoad& last = session.state.fieldMapperLoad;
    std::optional<std::string> bytes = readFile(file);
    if (!bytes) {
        last = FieldMapperLoad{};
        session.state.fieldMapper.clear();
        return false;
    }
    const bool documentIntact = last.loaded && (!last.valid || !session.state.fieldMapper.empty());
    if (documentIntact && last.path == file.string() && last.bytes == *bytes) return last.valid;
    last.path = file.string();
    last.bytes = std::move(*bytes);
    last.loaded = true;
    last.valid = session.state.fieldMapper.parse(last.bytes);
    return last.valid;
}

}  // namespace quillmere
