#pragma once
// What the stand-in offers of master data: the change files the synchronizer wrote for a
// company, and the database package a laptop installs with ExplodeZip.
#include <string>
#include <string_view>
#include <vector>

#include "tools/company-server/core/server_files.h"

namespace company_server {

// The change-file names (*.xml) of the company's master-data folder, in name order without
// regard to case (the order the synchronizer writes them in). Throws RequestError (404).
std::vector<std::string> changeFileNames(const ServerFiles& files, std::string_view company);

// The bytes of one change file. Throws RequestError (400 bad name, 404 missing).
std::string changeFile(const ServerFiles& files, std::string_view company, std::string_view name);

struct Package {
    std::string center;  // the service center; the archive carries <center>.mdb
    std::string bytes;   // a zip archive
};

// The package of a service center, made from packages/<center>.mdb. Without a center, the only
// package there is. Throws RequestError (400 bad name or several packages, 404 none).
Package masterDataPackage(const ServerFiles& files, std::string_view center);

// A zip archive holding one file. Throws platform::PlatformError when it cannot be made.
std::string zipOneFile(std::string_view entryName, std::string_view bytes);

}  // namespace company_server
