#pragma once
// Builds small zip archives (stored entries) for the tests, optionally behind a program stub
// as a self-extracting archive carries one, and deflated ones through libarchive.
#include <archive.h>
#include <archive_entry.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace testing_support {

// A zip archive of one entry compressed with deflate, as archiving tools write it.
inline std::string DeflatedZip(const std::string& name, const std::string& data) {
    std::string out(data.size() + 64 * 1024, '\0');
    size_t used = 0;
    struct archive* writer = archive_write_new();
    archive_write_set_format_zip(writer);
    archive_write_set_options(writer, "zip:compression=deflate");
    archive_write_open_memory(writer, out.data(), out.size(), &used);
    struct archive_entry* entry = archive_entry_new();
    archive_entry_set_pathname(entry, name.c_str());
    archive_entry_set_filetype(entry, AE_IFREG);
    archive_entry_set_perm(entry, 0644);
    archive_entry_set_size(entry, static_cast<la_int64_t>(data.size()));
    archive_write_header(writer, entry);
    archive_write_data(writer, data.data(), data.size());
    archive_entry_free(entry);
    archive_write_close(writer);
    archive_write_free(writer);
    out.resize(used);
    return out;
}

class ZipBuilder {
  public:
    // A name ending in '/' is a folder.
    ZipBuilder& add(std::string name, std::string data = "") {
        entries_.emplace_back(std::move(name), std::move(data));
        return *this;
    }

    // The archive behind `stub`; with `adjustOffsets` the offsets count from the file's start,
    // as self-extracting programs write them.
    std::string build(const std::string& stub = "", bool adjustOffsets = true) const {
        std::string out = stub;
        std::string directory;
        const uint32_t base = adjustOffsets ? static_cast<uint32_t>(stub.size()) : 0;
        for (const auto& [name, data] : entries_) {
            const uint32_t offset = base + static_cast<uint32_t>(out.size() - stub.size());
            const uint32_t crc = crc32(data);
            out += le32(0x04034b50) + le16(20) + le16(0) + le16(0) + le16(0) + le16(0x21) +
                   le32(crc) + le32(static_cast<uint32_t>(data.size())) +
                   le32(static_cast<uint32_t>(data.size())) +
                   le16(static_cast<uint16_t>(name.size())) + le16(0) + name + data;
            const uint32_t external = name.ends_with('/') ? 0x10 : 0;
            directory += le32(0x02014b50) + le16(20) + le16(20) + le16(0) + le16(0) + le16(0) +
                         le16(0x21) + le32(crc) + le32(static_cast<uint32_t>(data.size())) +
                         le32(static_cast<uint32_t>(data.size())) +
                         le16(static_cast<uint16_t>(name.size())) + le16(0) + le16(0) + le16(0) +
                         le16(0) + le32(external) + le32(offset) + name;
        }
        const uint32_t directoryOffset = base + static_cast<uint32_t>(out.size() - stub.size());
        out += directory;
        out += le32(0x06054b50) + le16(0) + le16(0) + le16(static_cast<uint16_t>(entries_.size())) +
               le16(static_cast<uint16_t>(entries_.size())) +
               le32(static_cast<uint32_t>(directory.size())) + le32(directoryOffset) + le16(0);
        return out;
    }

  private:
    static std::string le16(uint16_t v) { return {char(v & 0xff), char(v >> 8)}; }
    static std::string le32(uint32_t v) {
        return {char(v & 0xff), char((v >> 8) & 0xff), char((v >> 16) & 0xff), char(v >> 24)};
    }
    static uint32_t crc32(const std::string& data) {
        uint32_t crc = 0xffffffffu;
        for (unsigned char c : data) {
            crc ^= c;
            for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
        }
        return ~crc;
    }

    std::vector<std::pair<std::string, std::string>> entries_;
};

}  // namespace testing_support
