#pragma once
// The one table transfer: asks the ERP for the changed rows of one table inside the change
// window, applies each change to the server database (insert, modify, delete, by whether the
// server already has the key), appends the rows to the company's change file, shows progress
// and logs the counts. The particulars of each table (transfer_particulars.h) drive it.
#include <cstdint>
#include <string>

#include "shared/masterdata_file/change_file_writer.h"
#include "sync/core/descriptions.h"
#include "sync/core/label_texts.h"
#include "sync/core/progress.h"
#include "sync/core/run_log.h"
#include "sync/core/server_connections.h"
#include "sync/core/transfer_particulars.h"
#include "sync/core/window_start.h"

namespace brindlemoor {

// What a transfer works with, held by the synchronizer for the company being exported.
struct TransferServices {
    int32_t company = 0;
    WindowStart windowStart;
    std::string busAddress;
    masterdata_file::ChangeFileWriter* changeFile = nullptr;
    ServerConnections* connections = nullptr;
    DescriptionLookup* descriptions = nullptr;
    EnumerationTexts* enumerations = nullptr;
    const LabelTexts* labels = nullptr;
    Progress* progress = nullptr;
    RunLog* log = nullptr;
};

struct TransferCounts {
    // Wider than the original 16-bit counters: a first transfer may exceed 32767 rows.
    int64_t inserted = 0;
    int64_t modified = 0;
    int64_t deleted = 0;
};

// "D", "M", "I" for 0, 1, 2; empty for any other kind.
std::string MapChangeKind(int16_t kind);

// Runs one transfer. Failures end it where they happen: the server changes made so far stay,
// and the failure reaches the caller.
TransferCounts RunTransfer(const TransferParticulars& transfer, TransferServices& services);

}  // namespace brindlemoor
