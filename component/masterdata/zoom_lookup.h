#pragma once
// Zoom and hyperlink look-ups of a master-data code while a record is edited: the zoom lists
// every code of the field's table (each a link to the page's FillValues), the hyperlink shows
// the record behind one code. Both query the shared master-data connection (OpenDataBase).
#include <cstdint>
#include <string>
#include <string_view>

#include "component/core/session.h"

namespace quillmere {

// iMode 1 is the hyperlink, any other value the zoom. A field kind outside the look-up table,
// or a missing database file, gives the opening table tag alone. Without an open connection,
// or when the query fails, the call fails with the database error.
std::string HyperLinkAndZoom(Session& session, int16_t iMode, const std::string& iXmlTag,
                             const std::string& iValue, const std::string& iFormName);

// The look-up panel of one table. `value` reaches the query as a bound parameter.
std::string BuildLookupHtml(Session& session, std::string_view databasePath, std::string_view table,
                            std::string_view keyColumn, std::string_view value,
                            std::string_view formName, std::string_view mode,
                            std::string_view fieldKind, std::string_view panelId);

}  // namespace quillmere
