#include "sync/erp/audit_criteria.h"

#include <ctime>

namespace brindlemoor::erp {

platform::LocalDateTime Date::localTime() const {
    // The fields are a calendar time without a zone; timegm carries them over without any
    // daylight-saving shift.
    std::tm fields{};
    fields.tm_year = year_;
    fields.tm_mon = month_;
    fields.tm_mday = day_;
    fields.tm_hour = hours_;
    fields.tm_min = minutes_;
    fields.tm_sec = seconds_;
    const std::time_t seconds = timegm(&fields);
    std::tm normalized{};
    gmtime_r(&seconds, &normalized);
    return {normalized.tm_year + 1900, normalized.tm_mon + 1, normalized.tm_mday,
            normalized.tm_hour,        normalized.tm_min,     normalized.tm_sec};
}

bool AuditCriteria::wantsOldValue(std::string_view field) const {
    for (const std::string& wanted : withOldValue_) {
        if (wanted == field) return true;
    }
    return false;
}

}  // namespace brindlemoor::erp
