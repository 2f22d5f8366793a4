#include "tools/company-server/core/masterdata_shelf.h"

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <ctime>
#include <memory>

#include "platform/failure.h"
#include "platform/text.h"
#include "platform/text_file.h"
#include "tools/service/plain_name.h"
#include "tools/service/request_error.h"

namespace company_server {

using taviro::service::RequestError;

namespace {

struct ArchiveWriter {
    void operator()(struct archive* writer) const { archive_write_free(writer); }
};

la_ssize_t appendToString(struct archive*, void* target, const void* buffer, size_t length) {
    static_cast<std::string*>(target)->append(static_cast<const char*>(buffer), length);
    return static_cast<la_ssize_t>(length);
}

[[noreturn]] void failZip(struct archive* writer) {
    const char* text = archive_error_string(writer);
    throw platform::PlatformError(
        platform::failure::kGeneral,
        std::string("The package cannot be made: ") + (text ? text : "unknown archive error"));
}

}  // namespace

std::vector<std::string> changeFileNames(const ServerFiles& files, std::string_view company) {
    return namesEndingWith(files.masterDataFolder(company), ".xml", true);
}

std::string changeFile(const ServerFiles& files, std::string_view company, std::string_view name) {
    const std::vector<std::string> names = changeFileNames(files, company);
    if (!taviro::service::isPlainFileName(name))
        throw RequestError{400, "A change file is named by a plain file name."};
    // Only the listed change files are served, never anything else of the folder.
    if (std::find(names.begin(), names.end(), name) == names.end())
        throw RequestError{404, "There is no change file " + std::string(name) + "."};
    return platform::readWholeFile(files.masterDataFolder(company) / std::string(name));
}

Package masterDataPackage(const ServerFiles& files, std::string_view center) {
    std::string chosen(center);
    if (chosen.empty()) {
        const std::vector<std::string> centers = files.packageCenters();
        if (centers.empty()) throw RequestError{404, "The server offers no master-data package."};
        if (centers.size() > 1)
            throw RequestError{
                400, "Name the service center (?center=C): the server offers several packages."};
        chosen = centers.front();
    }
    const auto database = files.packageFile(chosen);
    if (!platform::fileExists(database))
        throw RequestError{404,
                           "There is no master-data package for service center " + chosen + "."};
    return Package{chosen, zipOneFile(chosen + ".mdb", platform::readWholeFile(database))};
}

std::string zipOneFile(std::string_view entryName, std::string_view bytes) {
    std::unique_ptr<struct archive, ArchiveWriter> writer(archive_write_new());
    if (!writer) throw platform::PlatformError(platform::failure::kGeneral, "Out of memory");
    std::string zip;
    if (archive_write_set_format_zip(writer.get()) != ARCHIVE_OK ||
        archive_write_open(writer.get(), &zip, nullptr, appendToString, nullptr) != ARCHIVE_OK)
        failZip(writer.get());
    archive_entry* entry = archive_entry_new();
    archive_entry_set_pathname(entry, std::string(entryName).c_str());
    archive_entry_set_size(entry, static_cast<la_int64_t>(bytes.size()));
    archive_entry_set_filetype(entry, AE_IFREG);
    archive_entry_set_perm(entry, 0644);
    archive_entry_set_mtime(entry, std::time(nullptr), 0);
    const bool written = archive_write_header(writer.get(), entry) == ARCHIVE_OK &&
                         archive_write_data(writer.get(), bytes.data(), bytes.size()) ==
                             static_cast<la_ssize_t>(bytes.size());
    archive_entry_free(entry);
    if (!written || archive_write_close(writer.get()) != ARCHIVE_OK) failZip(writer.get());
    return zip;
}

}  // namespace company_server
