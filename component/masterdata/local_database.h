#pragma once
// The engineer's local master-data database: which file is current, and the shared connection
// that the listing, the field validation and the look-ups query. The file is
// "C:\Taviro Quillmere\MasterData\<current name>.mdb", reached through the data source
// "Quillmere Master Data" (an SQLite file that keeps the .mdb name).
#include <string>
#include <string_view>

#include "component/core/session.h"
#include "component/core/variant.h"

namespace quillmere {

inline constexpr std::string_view kMasterDataConnection = "DSN=Quillmere Master Data";

// "C:\Taviro Quillmere\MasterData\" + name + ".mdb" (Windows path).
std::string MasterDataFilePath(std::string_view name);

// Opens the shared connection (replacing one that is open). A data source that cannot be
// opened fails the call with the database error.
Variant OpenDataBase(Session& session);
// Closes and releases the shared connection; nothing to do when none is open.
Variant CloseDataBase(Session& session);
// The shared connection; fails with the database error when OpenDataBase has not opened it.
platform::db::Connection& SharedMasterDataConnection(Session& session);

// Switching the current database: each writes only its own registry value, and only when
// that value already exists ("Currentmdb" of the component's key; "DBQ" of the data source,
// which becomes the master-data folder + iName, so the caller passes the extension).
Variant SetCurrentmdb(Session& session, const std::string& iFName);
Variant SetODBCDataBase(Session& session, const std::string& iName);

}  // namespace quillmere
