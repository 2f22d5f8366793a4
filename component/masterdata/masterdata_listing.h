#pragma once
// The read-only listing of one master-data table as an HTML panel.
#include <string>
#include <string_view>

#include "component/core/session.h"

namespace quillmere {

struct MasterDataTable {
    std::string_view table;     // "" for an unknown code
    std::string_view titleKey;  // label of the panel's title; "" for an unknown code
};

// The table and title label of a page code ("ITEM" -> SERVICEITEMS, label::kServiceItems).
MasterDataTable MasterDataTableForCode(std::string_view iCode);

// The panel listing every row of the table of `iCode` on the shared connection (OpenDataBase
// first): a heading row of the columns' labels from the "zoomhyperlink" field definitions,
// then one row per record, COMP left out. The empty text, after a message box, when the
// current database file is missing. Without an open connection, or for a code or table the
// database does not know, the call fails with the database error.
std::string MasterData(Session& session, const std::string& iCode);

}  // namespace quillmere
