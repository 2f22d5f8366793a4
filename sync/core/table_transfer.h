#pragma once
// The one table transfer: asks the ERP for the changed rows of one table inside the change
// window, applies each change to the server database (insert, modify, delete, by whether the
// server already has the key), appends the rows to the company's change file, shows progress
// and logs the counts. The particulars of each table (transfer_particulars.h) drive it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "shared/masterdata_file/change_file_writer.h"
#include "sync/core/descriptions.h"
#include "sync/core/label_texts.h"
#include "sync/core/progress.h"
#include "sync/core/run_log.h"
#include "sync/core/server_connections.h"
#include "sync/core/transfer_particulars.h"
#include "sync/core/window_start.h"
#include "sync/erp/datasource.h"

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

// What one transfer did to its table. It is counted while the changes are applied, so that a
// transfer that fails part-way still tells what it changed before the failure.
struct TableOutcome {
    std::string_view table;
    // 64-bit: a company's first transfer of a table may well exceed 32,767 rows.
    int64_t inserted = 0;
    int64_t modified = 0;
    int64_t deleted = 0;
};

// The kind of a number the ERP reports (0, 1, 2); nullopt for any other number.
std::optional<erp::ChangeKind> MapChangeKind(int16_t kind);

// The change file's STATUS letter of a kind: "D", "M" or "I".
std::string_view StatusLetter(erp::ChangeKind kind);

// Runs one transfer, counting into `outcome`. Failures end it where they happen: the server
// changes made so far stay (and are counted), and the failure reaches the caller.
void RunTransfer(const TransferParticulars& transfer, TransferServices& services,
                 TableOutcome& outcome);

}  // namespace brindlemoor
