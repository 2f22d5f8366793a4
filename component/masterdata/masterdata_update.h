#pragma once
// Applying master-data change files to the local database of the engineer's service center.
// Every VOMasterData element of the text is applied on its own, table by table in the order
// below; each table opens its own connection, and what one table meets never stops the next.
// The outcome of every table is written to the log; the result does not carry it.
#include <string>
#include <string_view>
#include <vector>

#include "component/core/session.h"
#include "platform/xml/document.h"

namespace quillmere {

inline constexpr std::string_view kSynchronizeSuccessful = "SUCCESSFUL";
inline constexpr std::string_view kSynchronizeInvalidXml = "INVALID XML String!!";
inline constexpr std::string_view kSynchronizeFailed = "FAILED";

inline constexpr std::string_view kTableApplied = "OK";
inline constexpr std::string_view kInvalidDataOperation = "INVALID DATA OPERATION";
inline constexpr std::string_view kDoesNotExist = " Does not exist";

// The log's user action for the per-table outcomes.
inline constexpr std::string_view kSynchronizeAction = "Synchronize Master Data";

// The 20 tables in the order they are applied (dependencies first: centers and items before
// configurations and objects).
const std::vector<std::string_view>& FillMasterDataTableList();

struct TableOutcome {
    enum class Status { Applied, DatabaseMissing, InvalidDataOperation };

    Status status = Status::Applied;
    std::string databasePath;  // with DatabaseMissing: the Windows path of the missing file
    std::string reason;        // with InvalidDataOperation: the error and the row it met
    size_t rowsApplied = 0;    // statements executed and kept

    bool applied() const { return status == Status::Applied; }
    // The outcome as the log states it: "OK", the database path + " Does not exist", or
    // "INVALID DATA OPERATION".
    std::string logText() const;
};

// Applies the rows of `table` found in one VOMasterData element to the database
// "C:\Taviro Quillmere\MasterData\<Currentmdb>.mdb" through the data source. "Currentmdb" is
// read from the registry on every call; it is also the service center whose CONFIGURATIONS
// and OBJECTS are applied.
TableOutcome ApplyMasterDataTable(Session& session, platform::xml::Node changeSet,
                                  std::string_view table);

// The public method: "SUCCESSFUL" once every VOMasterData element has been applied (whatever
// the tables met), "INVALID XML String!!" for text that is not well-formed, "FAILED" for an
// error outside the tables.
std::string Synchronize_MasterData(Session& session, const std::string& iXML);

}  // namespace quillmere
