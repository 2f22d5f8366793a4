#pragma once
// What a run did, for the operator and for monitoring: per company the counts of every table,
// the change file and the duration, and where and why the run ended if it ended on an error.
// The program writes it as JSON with --summary.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "sync/core/run_error.h"
#include "sync/core/table_transfer.h"

namespace brindlemoor {

struct CompanyReport {
    std::string folder;  // the company folder's name
    int32_t company = 0;
    std::vector<TableOutcome> tables;  // in run order; the last one failed when `error` is set
    std::filesystem::path changeFile;  // empty while none was saved
    double seconds = 0;
    std::optional<RunError> error;

    int64_t inserted() const;
    int64_t modified() const;
    int64_t deleted() const;
};

struct RunReport {
    enum class Outcome {
        Completed,      // every company done
        Failed,         // ended on an error, which was shown and logged
        StartUpFailed,  // the start-up failed; no run
        NotStarted      // another run kept the server root locked
    };
    Outcome outcome = Outcome::Completed;
    std::vector<CompanyReport> companies;  // those the run reached, in run order
    std::filesystem::path logFile;         // empty when the run wrote no log
    std::optional<RunError> error;

    // 0 completed, 3 failed, 1 start-up failed or not started.
    int exitStatus() const;
};

// The report as one JSON document (UTF-8; texts that are not valid UTF-8 are repaired).
std::string SummaryJson(const RunReport& report);

// Writes SummaryJson atomically to `file` (a Linux path). Throws PlatformError when the file
// cannot be written.
void WriteSummary(const RunReport& report, const std::filesystem::path& file);

}  // namespace brindlemoor
