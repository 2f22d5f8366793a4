#pragma once
// Registration of the local master-data data source "Quillmere Master Data" under
// HKLM\SOFTWARE\ODBC\odbc.ini. The database layer resolves "DSN=Quillmere Master Data" to the
// SQLite file named by its DBQ value.
#include <string_view>

#include "component/core/session.h"

namespace quillmere {

inline constexpr std::string_view kMasterDataSourceName = "Quillmere Master Data";
inline constexpr std::string_view kOdbcIniKey = "SOFTWARE\\ODBC\\odbc.ini";
inline constexpr std::string_view kMasterDataSourceKey =
    "SOFTWARE\\ODBC\\odbc.ini\\Quillmere Master Data";
// The Windows system folder, where the Access driver of a data source lives: the registered
// values look as on a Windows machine, although only DBQ is read here.
inline constexpr std::string_view kSystemFolder = "C:\\Windows\\System32";

// Registers the data source when it is missing; otherwise only points its DBQ at the current
// database ("C:\Taviro Quillmere\MasterData\" + current name + ".mdb", or the bare folder with
// its trailing backslash while no database is current).
void EnsureMasterDataDsn(Session& session);

}  // namespace quillmere
