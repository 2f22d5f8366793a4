#pragma once
// While a FileSizeLimit lives, every write of this process past `bytes` fails with EFBIG, as on a
// full disk, for root as well. SIGXFSZ is ignored meanwhile so the write returns the error
// instead of ending the process; both are restored when it goes.
#include <signal.h>
#include <sys/resource.h>

namespace testing_support {

class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        ::sigaction(SIGXFSZ, &ignore, &previousHandler_);
        ::getrlimit(RLIMIT_FSIZE, &previousLimit_);
        rlimit limited = previousLimit_;
        limited.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &previousLimit_);
        ::sigaction(SIGXFSZ, &previousHandler_, nullptr);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    struct sigaction previousHandler_ {};
    rlimit previousLimit_{};
};

}  // namespace testing_support
