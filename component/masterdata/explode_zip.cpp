#include "component/masterdata/explode_zip.h"

#include <archive.h>
#include <archive_entry.h>

#include <cctype>
#include <memory>
#include <vector>

#include "component/core/install_paths.h"
#include "component/core/label_keys.h"
#include "component/core/labels.h"
#include "platform/failure.h"
#include "platform/text_file.h"

namespace quillmere {

namespace {

using platform::PlatformError;

constexpr size_t kReadBlock = 64 * 1024;

struct ArchiveReader {
    void operator()(struct archive* reader) const { archive_read_free(reader); }
};
using ArchiveHandle = std::unique_ptr<struct archive, ArchiveReader>;

[[noreturn]] void failArchive(const std::filesystem::path& file, std::string_view problem) {
    throw PlatformError(platform::failure::kGeneral,
                        "The master-data archive " + file.string() +
                            " cannot be unpacked: " + std::string(problem));
}

std::string archiveError(struct archive* reader) {
    const char* text = archive_error_string(reader);
    return text ? text : "unknown archive error";
}

bool isDrivePath(std::string_view path) {
    return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

// The entry's path as Windows path components; empty when it would leave the target folder
// (absolute, a drive, "..") or names nothing.
std::vector<std::string> safeComponents(std::string_view name) {
    std::vector<std::string> components;
    if (name.empty() || name.front() == '/' || name.front() == '\\') return {};
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find_first_of("/\\", start);
        if (end == std::string_view::npos) end = name.size();
        const std::string_view part = name.substr(start, end - start);
        if (part == "..") return {};
        if (part.find(':') != std::string_view::npos) return {};
        if (!part.empty() && part != ".") components.emplace_back(part);
        start = end + 1;
    }
    return components;
}

std::string targetPath(std::string_view folder, const std::vector<std::string>& components) {
    std::string path(folder);
    for (const std::string& part : components) path += "\\" + part;
    return path;
}

std::string readEntryData(struct archive* reader, const std::filesystem::path& file) {
    std::string bytes;
    const void* block = nullptr;
    size_t size = 0;
    la_int64_t offset = 0;
    for (;;) {
        const int rc = archive_read_data_block(reader, &block, &size, &offset);
        if (rc == ARCHIVE_EOF) return bytes;
        if (rc < ARCHIVE_WARN) failArchive(file, archiveError(reader));
        // Sparse entries hand their blocks out with gaps; the gaps are zeros.
        if (static_cast<size_t>(offset) > bytes.size())
            bytes.resize(static_cast<size_t>(offset), '\0');
        bytes.replace(static_cast<size_t>(offset), size, static_cast<const char*>(block), size);
    }
}

void openArchive(struct archive* reader, const std::filesystem::path& file) {
    // The zip reader finds the archive by its central directory at the end of the file, so
    // the program stub in front of it is passed over.
    archive_read_support_format_zip(reader);
    if (archive_read_open_filename(reader, file.c_str(), kReadBlock) != ARCHIVE_OK)
        failArchive(file, archiveError(reader));
}

}  // namespace

void ExtractZipArchive(Session& session, const std::filesystem::path& archive,
                       std::string_view targetFolder) {
    ArchiveHandle reader(archive_read_new());
    if (!reader) failArchive(archive, "out of memory");
    openArchive(reader.get(), archive);
    struct archive_entry* entry = nullptr;
    for (;;) {
        const int rc = archive_read_next_header(reader.get(), &entry);
        if (rc == ARCHIVE_EOF) break;
        if (rc < ARCHIVE_WARN) failArchive(archive, archiveError(reader.get()));
        const char* utf8 = archive_entry_pathname_utf8(entry);
        const char* raw = archive_entry_pathname(entry);
        const std::string name = utf8 ? utf8 : (raw ? raw : "");
        const std::vector<std::string> components = safeComponents(name);
        if (components.empty())
            failArchive(archive, "the entry '" + name + "' lies outside the folder");
        const std::filesystem::path target = session.path(targetPath(targetFolder, components));
        const auto type = archive_entry_filetype(entry);
        if (type == AE_IFDIR) {
            std::filesystem::create_directories(target);
        } else if (type == AE_IFREG) {
            std::filesystem::create_directories(target.parent_path());
            platform::writeFileAtomically(target, readEntryData(reader.get(), archive));
        }
        // Links and special files have no place among master-data files.
    }
}

Variant ExplodeZip(Session& session, const std::string& iFileName) {
    const std::string file = iFileName + ".exe";
    const std::filesystem::path folder = session.path(paths::kMasterDataFolder);
    if (!platform::folderExists(folder)) throw platform::pathNotFound(folder);
    const std::string archivePath =
        isDrivePath(file) ? file : std::string(paths::kMasterDataFolder) + "\\" + file;
    const std::filesystem::path archive = session.path(archivePath);
    if (!platform::fileExists(archive)) {
        const std::string text = GetLabelText(session, label::kMasterDataFileNotFound) + file +
                                 "\r\n" + GetLabelText(session, label::kInTheFolder) +
                                 "C:\\Taviro Quillmere\\MasterData\\  " + "\r\n" + "\r\n" +
                                 GetLabelText(session, label::kDownloadMasterDataAgain);
        session.messages.show(GetLabelText(session, label::kMasterDataInstallation), text,
                              platform::MessageIcon::Error);
        return {};
    }
    ExtractZipArchive(session, archive, paths::kMasterDataFolder);
    return {};
}

}  // namespace quillmere
