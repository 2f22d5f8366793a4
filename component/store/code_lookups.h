#pragma once
// The master-data look-ups of field validation: the queries that tell whether an entered code
// exists in the engineer's local master data (the shared connection that OpenDataBase opens).
// Values reach the SQL text quoted, every apostrophe doubled, so a code holding an apostrophe
// simply finds no row.
#include <optional>
#include <string>
#include <string_view>

#include "component/core/session.h"

namespace quillmere {

// The query that looks `value` up for `field`, or nullopt when the field is not a looked-up
// code. ServiceItem codes are stored behind nine blanks and are looked up untrimmed; every
// other value is trimmed of blanks.
std::optional<std::string> CodeLookupQuery(std::string_view field, std::string_view value);

// True for the fields whose values are codes of the master data (CodeLookupQuery answers).
bool IsLookedUpCode(std::string_view field);

// The object queries: the object of a configuration, and one sequence number of that object.
std::string ObjectLookupQuery(std::string_view configuration, std::string_view object);
std::string ObjectNumberLookupQuery(std::string_view configuration, std::string_view object,
                                    std::string_view objectNumber);

// True when the query returns a row. Without an open connection, or when the query fails, the
// database error reaches the caller.
bool MasterDataHasRow(Session& session, std::string_view query);

}  // namespace quillmere
