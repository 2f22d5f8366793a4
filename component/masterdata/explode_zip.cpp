#include "component/masterdata/explode_zip.h"

#include <archive.h>
#include <archive_entry.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdint>
#include <fstream>
#include <memory>
#include <optional>
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

void openArchive(struct archive* reader, const std::filesystem::path& file) {
    // The zip reader finds the archive by its central directory at the end of the file, so
    // the program stub in front of it is passed over.
    archive_read_support_format_zip(reader);
    if (archive_read_open_filename(reader, file.c_str(), kReadBlock) != ARCHIVE_OK)
        failArchive(file, archiveError(reader));
}

ArchiveHandle openedArchive(const std::filesystem::path& file) {
    ArchiveHandle reader(archive_read_new());
    if (!reader) failArchive(file, "out of memory");
    openArchive(reader.get(), file);
    return reader;
}

struct Entry {
    std::vector<std::string> components;
    bool folder = false;
};

// The next entry that is extracted (a folder or a regular file), or nullopt at the end. Links
// and special files have no place among master-data files and are passed over.
std::optional<Entry> nextEntry(struct archive* reader, const std::filesystem::path& file,
                               struct archive_entry*& entry) {
    for (;;) {
        const int rc = archive_read_next_header(reader, &entry);
        if (rc == ARCHIVE_EOF) return std::nullopt;
        if (rc < ARCHIVE_WARN) failArchive(file, archiveError(reader));
        const char* utf8 = archive_entry_pathname_utf8(entry);
        const char* raw = archive_entry_pathname(entry);
        const std::string name = utf8 ? utf8 : (raw ? raw : "");
        Entry next{safeComponents(name)};
        if (next.components.empty())
            failArchive(file, "the entry '" + name + "' lies outside the folder");
        const auto type = archive_entry_filetype(entry);
        if (type != AE_IFDIR && type != AE_IFREG) continue;
        next.folder = type == AE_IFDIR;
        return next;
    }
}

// The most an archive may unpack to: its total size, and its ratio to the archive's own size
// (what real files compress to stays far below; a crafted archive goes far beyond).
class UnpackBudget {
  public:
    UnpackBudget(const std::filesystem::path& file, const UnpackLimits& limits)
        : file_(file),
          allowed_(std::min<uint64_t>(
              limits.maxTotalBytes,
              std::max<uint64_t>(limits.maxRatio * std::filesystem::file_size(file),
                                 limits.ratioFreeBytes))),
          limits_(limits) {}

    void take(uint64_t bytes) {
        used_ += bytes;
        if (used_ <= allowed_) return;
        if (used_ > limits_.maxTotalBytes)
            failArchive(file_, "it unpacks to more than " + std::to_string(limits_.maxTotalBytes) +
                                   " bytes");
        failArchive(file_, "it unpacks to more than " + std::to_string(limits_.maxRatio) +
                               " times its own size");
    }

  private:
    const std::filesystem::path& file_;
    uint64_t allowed_;
    const UnpackLimits& limits_;
    uint64_t used_ = 0;
};

// Before anything is written: every name stays inside the folder and the sizes the archive
// declares fit the budget.
void checkEntries(const std::filesystem::path& file, const UnpackLimits& limits) {
    ArchiveHandle reader = openedArchive(file);
    UnpackBudget budget(file, limits);
    struct archive_entry* entry = nullptr;
    while (const std::optional<Entry> next = nextEntry(reader.get(), file, entry))
        if (!next->folder && archive_entry_size_is_set(entry))
            budget.take(static_cast<uint64_t>(std::max<la_int64_t>(archive_entry_size(entry), 0)));
}

// Streams the entry's data to `target`, counting what it really unpacks to (declared sizes
// can lie).
void writeEntryData(struct archive* reader, const std::filesystem::path& file,
                    const std::filesystem::path& target, UnpackBudget& budget) {
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    if (!out) failArchive(file, "cannot write " + target.string());
    const void* block = nullptr;
    size_t size = 0;
    la_int64_t offset = 0;
    uint64_t end = 0;
    for (;;) {
        const int rc = archive_read_data_block(reader, &block, &size, &offset);
        if (rc == ARCHIVE_EOF) break;
        if (rc < ARCHIVE_WARN) failArchive(file, archiveError(reader));
        // Sparse entries hand their blocks out with gaps; the gaps read as zeros.
        const uint64_t blockEnd = static_cast<uint64_t>(offset) + size;
        if (blockEnd > end) {
            budget.take(blockEnd - end);
            end = blockEnd;
        }
        out.seekp(offset);
        out.write(static_cast<const char*>(block), static_cast<std::streamsize>(size));
        if (!out) failArchive(file, "cannot write " + target.string());
    }
    if (static_cast<uint64_t>(out.tellp()) < end) out.seekp(static_cast<std::streamoff>(end));
    out.close();
    if (!out) failArchive(file, "cannot write " + target.string());
}

// A folder beside the target that the extraction fills; removed with whatever it still holds.
class StagingFolder {
  public:
    explicit StagingFolder(const std::filesystem::path& target) {
        static std::atomic<unsigned> counter{0};
        path_ =
            target.parent_path() / ("." + target.filename().string() + ".unpacking-" +
                                    std::to_string(::getpid()) + "-" + std::to_string(counter++));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~StagingFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;

    std::filesystem::path pathOf(const std::vector<std::string>& components) const {
        std::filesystem::path path = path_;
        for (const std::string& part : components) path /= part;
        return path;
    }

  private:
    std::filesystem::path path_;
};

}  // namespace

void ExtractZipArchive(Session& session, const std::filesystem::path& archive,
                       std::string_view targetFolder, const UnpackLimits& limits) {
    checkEntries(archive, limits);
    const std::filesystem::path target = session.path(targetFolder);
    StagingFolder staging(target);
    std::vector<Entry> extracted;
    {
        ArchiveHandle reader = openedArchive(archive);
        UnpackBudget budget(archive, limits);
        struct archive_entry* entry = nullptr;
        while (std::optional<Entry> next = nextEntry(reader.get(), archive, entry)) {
            const std::filesystem::path staged = staging.pathOf(next->components);
            if (next->folder) {
                std::filesystem::create_directories(staged);
            } else {
                std::filesystem::create_directories(staged.parent_path());
                writeEntryData(reader.get(), archive, staged, budget);
            }
            extracted.push_back(std::move(*next));
        }
    }
    // Every entry unpacked: now they move in, each file replacing an older one at once.
    for (const Entry& entry : extracted) {
        const std::filesystem::path destination =
            session.path(targetPath(targetFolder, entry.components));
        if (entry.folder) {
            std::filesystem::create_directories(destination);
            continue;
        }
        std::filesystem::create_directories(destination.parent_path());
        std::filesystem::rename(staging.pathOf(entry.components), destination);
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
