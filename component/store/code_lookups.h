#pragma once
// The master-data look-ups of field validation: the queries that tell whether an entered code
// exists in the engineer's local master data (the shared connection that OpenDataBase opens).
// Values are bound to the statement, never written into its text.
//
// Failures: MasterDataHasRow fails with the database error when no connection is open or the
// query cannot run (a missing table, for example).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "component/core/session.h"

namespace quillmere {

// One look-up: the statement with a '?' for each value, and the values in that order.
struct MasterDataLookup {
    std::string sql;
    std::vector<std::string> values;

    // The statement with each value in quotes (apostrophes doubled), as a log shows it.
    std::string literalText() const;
};

// The look-up of `value` for `field`, or nullopt when the field is not a looked-up code.
// ServiceItem codes are stored behind nine blanks and are looked up untrimmed; every other
// value is trimmed of blanks.
std::optional<MasterDataLookup> CodeLookup(std::string_view field, std::string_view value);

// True for the fields whose values are codes of the master data (CodeLookup answers).
bool IsLookedUpCode(std::string_view field);

// The object look-ups: the object of a configuration (the object trimmed of blanks), and one
// sequence number of that object (the number trimmed of blanks).
MasterDataLookup ObjectLookup(std::string_view configuration, std::string_view object);
MasterDataLookup ObjectNumberLookup(std::string_view configuration, std::string_view object,
                                    std::string_view objectNumber);

// True when the look-up finds a row on the shared master-data connection.
bool MasterDataHasRow(Session& session, const MasterDataLookup& lookup);

}  // namespace quillmere
