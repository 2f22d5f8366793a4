#include "component/store/code_lookups.h"

#include <array>

#include "component/masterdata/local_database.h"
#include "platform/db/database.h"
#include "platform/text.h"
#include "shared/masterdata_file/table_set.h"

namespace quillmere {

using platform::trimBlanks;

namespace {

struct CodeTable {
    std::string_view field;
    std::string_view sql;  // one '?' for the code
};

constexpr std::array<CodeTable, 14> kCodeTables = {{
    {"ProblemPriority", "select * from PRIORITIES where PRIO =?"},
    {"Problem", "select * from PROBLEMS where CPRL =?"},
    {"Solution", "select * from SOLUTIONS where CSTN =?"},
    {"ReferenceActivity", "select * from REFERENCEACTIVITIES where CRAC =?"},
    {"Configuration", "select * from CONFIGURATIONS where CCFG =?"},
    {"SalesQuantityUnit", "select * from UNITS where CUNI=?"},
    {"Unit", "select * from UNITS where CUNI =?"},
    {"ServiceKit", "select * from SERVICEKITS where CSKT =?"},
    {"InterruptionReason", "select * from REASONS where CDIS =?"},
    {"CostComponent", "select * from COSTCOMPONENTS where CPCP =?"},
    {"Task", "select * from TASKS where CTSK =?"},
    {"ActualWarehouse", "select * from WAREHOUSES where CWAR =?"},
    {"HourlyLaborType", "select * from HOURLYLABORTYPE where CHLT =?"},
    {"ServiceItem", "select * from SERVICEITEMS where ITEM =?"},
}};

const CodeTable* codeTableOf(std::string_view field) {
    for (const CodeTable& table : kCodeTables)
        if (table.field == field) return &table;
    return nullptr;
}

}  // namespace

std::string MasterDataLookup::literalText() const {
    std::vector<std::string_view> views(values.begin(), values.end());
    return platform::db::literalStatement(sql, views);
}

bool IsLookedUpCode(std::string_view field) {
    return codeTableOf(field) != nullptr;
}

std::optional<MasterDataLookup> CodeLookup(std::string_view field, std::string_view value) {
    const CodeTable* table = codeTableOf(field);
    if (!table) return std::nullopt;
    std::string code;
    if (field == "ServiceItem") {
        code = masterdata_file::kItemCodePrefix;
        code += value;
    } else {
        code = trimBlanks(value);
    }
    return MasterDataLookup{std::string(table->sql), {std::move(code)}};
}

MasterDataLookup ObjectLookup(std::string_view configuration, std::string_view object) {
    return {"select * from OBJECTS where CCFG =? and CROB = ?",
            {std::string(configuration), std::string(trimBlanks(object))}};
}

MasterDataLookup ObjectNumberLookup(std::string_view configuration, std::string_view object,
                                    std::string_view objectNumber) {
    return {
        "Select * from OBJECTS where CCFG = ? and CROB = ? and OSEQ = ?",
        {std::string(configuration), std::string(object), std::string(trimBlanks(objectNumber))}};
}

bool MasterDataHasRow(Session& session, const MasterDataLookup& lookup) {
    const auto statement = SharedMasterDataConnection(session).prepare(lookup.sql);
    for (size_t i = 0; i < lookup.values.size(); ++i) statement->bindText(i, lookup.values[i]);
    return !statement->query().empty();
}

}  // namespace quillmere
