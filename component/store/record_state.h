#pragma once
// The State codes that say where a record of the order store stands between the server and
// the laptop: "O" as received, "N" new, "M" changed, "NU"/"MU" new or changed and already put
// into an upload document.
#include <span>
#include <string>
#include <string_view>

#include "platform/xml/document.h"

namespace quillmere {

inline constexpr std::string_view kStateAttribute = "State";
inline constexpr std::string_view kStateReceived = "O";
inline constexpr std::string_view kStateNew = "N";
inline constexpr std::string_view kStateChanged = "M";
inline constexpr std::string_view kStateNewUploaded = "NU";
inline constexpr std::string_view kStateChangedUploaded = "MU";

// The record's State; a record without one fails with the runtime's invalid-use-of-null error
// (the store is never repaired on the way).
std::string RecordState(platform::xml::Node record);
void SetRecordState(platform::xml::Node record, std::string_view state);

// Sets of State codes that the lists admit, compared exactly.
using StateSet = std::span<const std::string_view>;
inline constexpr std::string_view kWorkingStateCodes[] = {kStateReceived, kStateChanged,
                                                          kStateNew};  // not yet uploaded
inline constexpr std::string_view kUploadedStateCodes[] = {kStateNewUploaded,
                                                           kStateChangedUploaded};
// Groups whose records may have been uploaded: untouched ones and uploaded ones.
inline constexpr std::string_view kUploadedGroupStateCodes[] = {
    kStateReceived, kStateChangedUploaded, kStateNewUploaded};
inline constexpr StateSet kWorkingStates = kWorkingStateCodes;
inline constexpr StateSet kUploadedStates = kUploadedStateCodes;
inline constexpr StateSet kUploadedGroupStates = kUploadedGroupStateCodes;

bool StateIn(std::string_view state, StateSet states);

// True for "NU" and "MU": the record is in an upload document and waits for the server.
bool IsUploadedState(std::string_view state);

// True for a number handed out on the laptop ("_" and a counter): the record is new here.
bool IsProvisionalNumber(std::string_view number);

// The State an edited record moves to: "NU" back to "N", "MU" and "O" to "M"; others stay.
std::string StateAfterUpdate(std::string_view state);

// True for the codes that have nothing to send: unchanged, or already in an upload document.
bool IsSettledForUpload(std::string_view state);

// Appends the upload mark "U" to the record's State ("N" -> "NU", "M" -> "MU").
void AppendUploadMark(platform::xml::Node record);

}  // namespace quillmere
