#pragma once
// The SQL delivered in data/server/, compiled into the program so that --init can prepare a
// server root without the source tree: the server database's tables, the sibling database's
// table, an ERP audit database's table and the label texts of locale 1033.
#include <string_view>

namespace brindlemoor::delivered {

extern const std::string_view kServerDatabaseSql;
extern const std::string_view kSiblingDatabaseSql;
extern const std::string_view kErpAuditSql;
extern const std::string_view kLabels1033Sql;

}  // namespace brindlemoor::delivered
