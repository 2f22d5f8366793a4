#include "sync/core/headless_run.h"

#include "sync/core/synchronizer.h"

namespace brindlemoor {

namespace {

void reportLogFailure(const Synchronizer& synchronizer, std::ostream& err) {
    if (const auto& failure = synchronizer.logFailure()) {
        err << "brindlemoor: the log could not be written: " << failure->number << " "
            << failure->description << "\n";
    }
}

}  // namespace

int RunHeadless(const platform::MachineRoot& root, std::ostream& out, std::ostream& err,
                const HeadlessOptions& options) {
    StreamProgress progress(out);
    Synchronizer synchronizer(root, progress, options.run);
    const RunReport report = synchronizer.startUp() == Synchronizer::StartUpOutcome::Failed
                                 ? synchronizer.startUpReport()
                                 : synchronizer.exportMasterData();
    out.flush();
    reportLogFailure(synchronizer, err);
    int status = report.exitStatus();
    if (options.summary) {
        try {
            WriteSummary(report, *options.summary);
        } catch (const platform::PlatformError& error) {
            err << "brindlemoor: the summary could not be written: " << error.description() << "\n";
            if (status == 0) status = 1;
        }
    }
    return status;
}

}  // namespace brindlemoor
