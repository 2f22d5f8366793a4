#include "component/core/kept_documents.h"

#include <sys/stat.h>

#include "platform/text_file.h"
#include "platform/xml/reloaded_form.h"

namespace quillmere {

std::optional<FileIdentity> IdentityOf(const std::filesystem::path& file) {
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
    const auto nanoseconds = [](const timespec& time) {
        return static_cast<long long>(time.tv_sec) * 1000000000LL + time.tv_nsec;
    };
    return FileIdentity{static_cast<unsigned long long>(status.st_dev),
                        static_cast<unsigned long long>(status.st_ino),
                        static_cast<long long>(status.st_size), nanoseconds(status.st_mtim),
                        nanoseconds(status.st_ctim)};
}

bool LoadKeptDocument(ModuleState& state, KeptFile& kept, platform::xml::Document& document,
                      const std::filesystem::path& file) {
    const std::optional<FileIdentity> identity =
        state.keepDocuments ? IdentityOf(file) : std::nullopt;
    if (identity && kept.identity == identity && kept.path == file.string()) {
        kept.loadedSinceSave = true;
        return true;
    }
    kept = KeptFile{};
    // Taken before the file is read: should the file change meanwhile, its identity differs
    // from this one and the next load parses it again.
    if (!document.loadFile(file)) return false;
    if (identity) kept = KeptFile{file.string(), identity, true};
    return true;
}

void SaveKeptDocument(ModuleState& state, KeptFile& kept, platform::xml::Document& document,
                      const std::filesystem::path& file) {
    kept = KeptFile{};
    platform::removeStaleTemporaries(file);  // saves are made under the install folder's lock
    document.save(file);
    if (!state.keepDocuments) return;
    platform::xml::bringIntoReloadedForm(document.node());
    const std::optional<FileIdentity> identity = IdentityOf(file);
    if (identity) kept = KeptFile{file.string(), identity, false};
}

void BeginCallOnKeptDocuments(ModuleState& state) {
    state.orderStoreFile.loadedSinceSave = false;
    state.uploadReportFile.loadedSinceSave = false;
}

void EndCallOnKeptDocuments(ModuleState& state, StateAccess access) {
    if (access != StateAccess::Changes) return;  // reading methods do not change documents
    for (KeptFile* kept : {&state.orderStoreFile, &state.uploadReportFile})
        if (kept->loadedSinceSave) *kept = KeptFile{};
}

void ForgetKeptDocuments(ModuleState& state) {
    state.orderStoreFile = KeptFile{};
    state.uploadReportFile = KeptFile{};
}

}  // namespace quillmere
