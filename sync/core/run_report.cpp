#include "sync/core/run_report.h"

#include <nlohmann/json.hpp>

#include "platform/text_file.h"

namespace brindlemoor {

namespace {

using Json = nlohmann::ordered_json;

template <class Count>
int64_t sum(const std::vector<TableOutcome>& tables, Count count) {
    int64_t total = 0;
    for (const TableOutcome& table : tables) total += count(table);
    return total;
}

Json errorJson(const std::optional<RunError>& error) {
    if (!error) return nullptr;
    return Json{
        {"number", error->number}, {"source", error->source}, {"description", error->description}};
}

Json pathJson(const std::filesystem::path& path) {
    if (path.empty()) return nullptr;
    return path.string();
}

std::string_view outcomeName(RunReport::Outcome outcome) {
    switch (outcome) {
        case RunReport::Outcome::Completed:
            return "completed";
        case RunReport::Outcome::Failed:
            return "failed";
        case RunReport::Outcome::StartUpFailed:
            return "start-up failed";
        case RunReport::Outcome::NotStarted:
            return "not started";
    }
    return "";
}

Json companyJson(const CompanyReport& company) {
    Json tables = Json::array();
    for (const TableOutcome& table : company.tables) {
        tables.push_back({{"table", std::string(table.table)},
                          {"inserted", table.inserted},
                          {"modified", table.modified},
                          {"deleted", table.deleted}});
    }
    return Json{{"company", company.company},         {"folder", company.folder},
                {"inserted", company.inserted()},     {"modified", company.modified()},
                {"deleted", company.deleted()},       {"changeFile", pathJson(company.changeFile)},
                {"durationSeconds", company.seconds}, {"error", errorJson(company.error)},
                {"tables", std::move(tables)}};
}

}  // namespace

int64_t CompanyReport::inserted() const {
    return sum(tables, [](const TableOutcome& table) { return table.inserted; });
}

int64_t CompanyReport::modified() const {
    return sum(tables, [](const TableOutcome& table) { return table.modified; });
}

int64_t CompanyReport::deleted() const {
    return sum(tables, [](const TableOutcome& table) { return table.deleted; });
}

int RunReport::exitStatus() const {
    switch (outcome) {
        case Outcome::Completed:
            return 0;
        case Outcome::Failed:
            return 3;
        case Outcome::StartUpFailed:
        case Outcome::NotStarted:
            return 1;
    }
    return 1;
}

std::string SummaryJson(const RunReport& report) {
    Json companies = Json::array();
    for (const CompanyReport& company : report.companies) companies.push_back(companyJson(company));
    const Json summary{{"outcome", outcomeName(report.outcome)},
                       {"exitStatus", report.exitStatus()},
                       {"log", pathJson(report.logFile)},
                       {"error", errorJson(report.error)},
                       {"companies", std::move(companies)}};
    return summary.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

void WriteSummary(const RunReport& report, const std::filesystem::path& file) {
    platform::writeFileAtomically(file, SummaryJson(report));
}

}  // namespace brindlemoor
