#include "sync/core/descriptions.h"

#include <array>
#include <utility>

#include "platform/text.h"

namespace brindlemoor {

namespace db = platform::db;

namespace {

std::string valueText(const db::Value& value) {
    return value.value_or(std::string());
}

}  // namespace

DescriptionLookup::DescriptionLookup(platform::MachineRoot root) : root_(std::move(root)) {}

KeyedRows& DescriptionLookup::rowsOf(std::string_view table, std::string_view keyColumn) {
    const std::string name = std::string(table) + "." + std::string(keyColumn);
    auto found = tables_.find(name);
    if (found == tables_.end()) {
        if (!connection_) connection_ = db::connect(kDescriptionDataSource, root_);
        found =
            tables_
                .emplace(name, std::make_unique<KeyedRows>(
                                   *connection_, table,
                                   std::vector<std::string_view>{platform::trimBlanks(keyColumn)}))
                .first;
    }
    return *found->second;
}

std::string DescriptionLookup::lookUp(std::string_view table, std::string_view keyColumn,
                                      std::string_view keyValue, std::string_view company) {
    const ServerRow* row =
        rowsOf(table, keyColumn)
            .find(std::string(platform::trimBlanks(company)), {std::string(keyValue)});
    if (row == nullptr) return {};
    const bool named = table == "BUSINESSPARTNERS" || table == "ADDRESSES";
    return valueText(row->value(named ? "NAMA" : "DSCA"));
}

void DescriptionLookup::prefetch(std::string_view table, std::string_view keyColumn,
                                 const std::vector<std::string>& codes, std::string_view company) {
    std::vector<RowKey> keys;
    for (const std::string& code : codes) keys.push_back({code});
    try {
        rowsOf(table, keyColumn).load(std::string(platform::trimBlanks(company)), keys);
    } catch (const platform::PlatformError&) {
        forget();
    }
}

void DescriptionLookup::forget() {
    // The statements stay prepared; only what they read goes.
    for (auto& [name, rows] : tables_) rows->load({}, {});
}

std::string_view EnumerationLabel(Enumeration enumeration, int16_t value) {
    using Entry = std::pair<int16_t, std::string_view>;
    static const std::array<Entry, 6> physicalQuantities = {{{1, "SLBEU0440"},
                                                             {2, "SLBEU0441"},
                                                             {3, "SLBEU0442"},
                                                             {4, "SLBEU0443"},
                                                             {5, "SLBEU0444"},
                                                             {6, "SLBEU0445"}}};
    static const std::array<Entry, 7> costTypes = {{{1, "SLBEU0446"},
                                                    {2, "SLBEU0434"},
                                                    {3, "SLBEU0447"},
                                                    {4, "SLBEU0448"},
                                                    {5, "SLBEU0449"},
                                                    {6, "SLBEU0450"},
                                                    {7, "SLBEU0451"}}};
    // The reason types are crossed: 80 has the later label.
    static const std::array<Entry, 2> reasonTypes = {{{80, "SLBEU0088"}, {81, "SLBEU0087"}}};
    static const std::array<Entry, 9> serviceProcedures = {{{5, "SLBEU0452"},
                                                            {10, "SLBEU0453"},
                                                            {15, "SLBEU0454"},
                                                            {20, "SLBEU0455"},
                                                            {25, "SLBEU0456"},
                                                            {27, "SLBEU0457"},
                                                            {30, "SLBEU0458"},
                                                            {33, "SLBEU0459"},
                                                            {35, "SLBEU0460"}}};
    auto find = [value](const auto& entries) -> std::string_view {
        for (const Entry& entry : entries) {
            if (entry.first == value) return entry.second;
        }
        return {};
    };
    switch (enumeration) {
        case Enumeration::PhysicalQuantity:
            return find(physicalQuantities);
        case Enumeration::CostType:
            return find(costTypes);
        case Enumeration::ReasonType:
            return find(reasonTypes);
        case Enumeration::ServiceProcedure:
            return find(serviceProcedures);
    }
    return {};
}

std::string EnumerationTexts::text(Enumeration enumeration, int16_t value, db::Connection& server) {
    const std::string_view label = EnumerationLabel(enumeration, value);
    if (label.empty()) return {};
    if (const auto known = texts_.find(label); known != texts_.end()) return known->second;
    const std::unique_ptr<db::Statement> select =
        server.prepare("select * from I18NTEXT where LOCALEID = ?" + std::string("and LABEL = ?"));
    select->bind(0, locale_);
    select->bind(1, std::string(label));
    const db::Recordset found = select->query();
    std::string labelText = found.empty() ? std::string() : valueText(found.value(0, "TEXT"));
    texts_.emplace(std::string(label), labelText);
    return labelText;
}

}  // namespace brindlemoor
