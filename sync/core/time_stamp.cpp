#include "sync/core/time_stamp.h"

#include "platform/clock.h"
#include "shared/masterdata_file/change_file_writer.h"

namespace brindlemoor {

std::string MakeTimeStamp(std::string_view kind) {
    const platform::LocalDateTime now = platform::now();
    return kind == "FileName" ? masterdata_file::FileNameStamp(now)
                              : masterdata_file::TimeAttributeStamp(now);
}

}  // namespace brindlemoor
