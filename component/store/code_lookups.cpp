#include "component/store/code_lookups.h"

#include <array>

#include "component/masterdata/local_database.h"
#include "platform/db/database.h"
#include "platform/text.h"
#include "shared/masterdata_file/table_set.h"

namespace quillmere {

using platform::trimBlanks;

namespace {

struct CodeLookup {
    std::string_view field;
    std::string_view queryStart;  // the value and a closing apostrophe follow
};

constexpr std::array<CodeLookup, 14> kCodeLookups = {{
    {"ProblemPriority", "select * from PRIORITIES where PRIO ='"},
    {"Problem", "select * from PROBLEMS where CPRL ='"},
    {"Solution", "select * from SOLUTIONS where CSTN ='"},
    {"ReferenceActivity", "select * from REFERENCEACTIVITIES where CRAC ='"},
    {"Configuration", "select * from CONFIGURATIONS where CCFG ='"},
    {"SalesQuantityUnit", "select * from UNITS where CUNI='"},
    {"Unit", "select * from UNITS where CUNI ='"},
    {"ServiceKit", "select * from SERVICEKITS where CSKT ='"},
    {"InterruptionReason", "select * from REASONS where CDIS ='"},
    {"CostComponent", "select * from COSTCOMPONENTS where CPCP ='"},
    {"Task", "select * from TASKS where CTSK ='"},
    {"ActualWarehouse", "select * from WAREHOUSES where CWAR ='"},
    {"HourlyLaborType", "select * from HOURLYLABORTYPE where CHLT ='"},
    {"ServiceItem", "select * from SERVICEITEMS where ITEM ='"},
}};

}  // namespace

bool IsLookedUpCode(std::string_view field) {
    for (const CodeLookup& lookup : kCodeLookups)
        if (lookup.field == field) return true;
    return false;
}

std::optional<std::string> CodeLookupQuery(std::string_view field, std::string_view value) {
    for (const CodeLookup& lookup : kCodeLookups) {
        if (lookup.field != field) continue;
        std::string query(lookup.queryStart);
        if (field == "ServiceItem") {
            query += masterdata_file::kItemCodePrefix;
            query += platform::db::escapeQuotes(value);
        } else {
            query += platform::db::escapeQuotes(trimBlanks(value));
        }
        query += "'";
        return query;
    }
    return std::nullopt;
}

std::string ObjectLookupQuery(std::string_view configuration, std::string_view object) {
    std::string query = "select * from OBJECTS where CCFG ='";
    query += platform::db::escapeQuotes(configuration);
    query += "'";
    query += " and CROB = '";
    query += platform::db::escapeQuotes(trimBlanks(object));
    query += "'";
    return query;
}

std::string ObjectNumberLookupQuery(std::string_view configuration, std::string_view object,
                                    std::string_view objectNumber) {
    std::string query = "Select * from OBJECTS where CCFG = '";
    query += platform::db::escapeQuotes(configuration);
    query += "'";
    query += " and CROB = '";
    query += platform::db::escapeQuotes(object);
    query += "'";
    query += " and OSEQ = '";
    query += platform::db::escapeQuotes(trimBlanks(objectNumber));
    query += "'";
    return query;
}

bool MasterDataHasRow(Session& session, std::string_view query) {
    return !SharedMasterDataConnection(session).query(query).empty();
}

}  // namespace quillmere
