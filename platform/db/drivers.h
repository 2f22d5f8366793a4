#pragma once
// What the connection-string parser and the two drivers share; not part of the public interface.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/db/database.h"

namespace platform::db {

// ADO's own wording for a command without any statement in it.
inline constexpr const char* kNoCommandText = "Command text was not set for the command object.";

// The command as the driver should run it: translated for the dialect. Blank text fails here,
// before a driver could quietly treat it as "nothing to do".
std::string commandText(std::string_view sql, Dialect dialect);

// Letters, digits and '_': what names and keywords are made of.
bool isIdentifierChar(char c);

// Copies a quoted literal, quoted name or comment starting at `pos` of `sql` unchanged to `out`
// and moves `pos` past it; false when nothing of the kind starts there.
bool copyQuoted(std::string_view sql, size_t& pos, std::string& out);

// The values of the first column of every row (NULL as empty text).
std::vector<std::string> firstColumn(const Recordset& records);

// Opens an existing SQLite file for reading and writing; never creates one.
std::unique_ptr<Connection> openSqlite(const std::filesystem::path& file);

// Connects through libpq. `conninfo` is a key=value string or a postgres(ql):// URI; user and
// password, when given, take precedence over what it says.
std::unique_ptr<Connection> openPostgres(const std::string& conninfo,
                                         const std::optional<std::string>& user,
                                         const std::optional<std::string>& password);

}  // namespace platform::db
