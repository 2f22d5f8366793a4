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

int RunHeadless(const platform::MachineRoot& root, std::ostream& out, std::ostream& err) {
    StreamProgress progress(out);
    Synchronizer synchronizer(root, progress);
    if (synchronizer.startUp() == Synchronizer::StartUpOutcome::Failed) {
        out.flush();
        reportLogFailure(synchronizer, err);
        return 1;
    }
    synchronizer.exportMasterData();
    out.flush();
    reportLogFailure(synchronizer, err);
    return 0;
}

}  // namespace brindlemoor
