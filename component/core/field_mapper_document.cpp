#include "component/core/field_mapper_document.h"

#include <sys/stat.h>

#include <tuple>

#include "component/core/install_paths.h"

namespace quillmere {

namespace {

// What tells two versions of a file apart: atomic replacement gives a new inode, edits in
// place a new modification time or size.
struct FileIdentity {
    bool exists = false;
    ino_t inode = 0;
    off_t size = 0;
    long long modifiedSeconds = 0;
    long long modifiedNanoseconds = 0;
    std::string path;

    bool operator==(const FileIdentity&) const = default;
};

FileIdentity identify(const std::filesystem::path& path) {
    FileIdentity id;
    id.path = path.string();
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return id;
    id.exists = true;
    id.inode = info.st_ino;
    id.size = info.st_size;
    id.modifiedSeconds = info.st_mtim.tv_sec;
    id.modifiedNanoseconds = info.st_mtim.tv_nsec;
    return id;
}

struct LoadedVersion {
    FileIdentity identity;
    bool loaded = false;
    bool valid = false;
};

LoadedVersion& lastLoad() {
    thread_local LoadedVersion version;
    return version;
}

}  // namespace

bool LoadFieldMapperDocument(Session& session) {
    const std::filesystem::path file = session.path(paths::kFieldMapper);
    const FileIdentity identity = identify(file);
    LoadedVersion& last = lastLoad();
    const bool documentIntact = last.loaded && (!last.valid || !session.state.fieldMapper.empty());
    if (identity.exists && documentIntact && last.identity == identity) return last.valid;
    last.identity = identity;
    last.loaded = true;
    last.valid = session.state.fieldMapper.loadFile(file);
    return last.valid;
}

}  // namespace quillmere
