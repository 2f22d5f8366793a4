#pragma once
// What the synchronizer reads from the server and sibling databases besides the master data:
// its settings, its label texts and each company's bus-component address. Start-up, runs and
// --check read them through these functions, so they read them alike. Failures are the
// database's (PlatformError).
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/db/database.h"
#include "sync/core/label_texts.h"

namespace brindlemoor {

// The trimmed PARAMVALUE of the last "MDSyncAuto" row of PARAMETERS; empty without one.
std::string ReadUnattendedSetting(platform::db::Connection& server);

// The trimmed PARAMVALUE of the first "DefaultLanguage" row; nullopt without one.
std::optional<std::string> ReadDefaultLanguage(platform::db::Connection& server);

// The label texts of a locale. Fails with runtime error 9 (subscript out of range) when a range
// holds more labels than it has positions.
LabelTexts ReadLabelTexts(platform::db::Connection& server, const std::string& locale);

// BISID of the company's first user by LOGN in USERDEFAULTS (NULL as nullopt). Fails (no
// current record) when the company has no user.
platform::db::Value ReadFirstUserBusId(platform::db::Connection& server, int16_t company);

// VALUE of the bus identifier in the sibling database's BISPROPERTYVALUES (NULL as empty).
// Fails (no current record) when the identifier has no row.
std::string ReadBusAddress(platform::db::Connection& sibling, const std::string& busId);

}  // namespace brindlemoor
