#include "component/store/upload_report.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>

#include "component/core/install_paths.h"
#include "component/core/kept_documents.h"
#include "component/core/record_kind.h"
#include "platform/failure.h"
#include "platform/text.h"
#include "platform/text_file.h"

namespace quillmere {

namespace xml = platform::xml;

// A resident instance keeps its own copy of the report; callers work on theirs, so changes of
// a call that fails before its save never reach the kept copy.
bool LoadUploadReport(Session& session, xml::Document& report) {
    ModuleState& state = session.state;
    const std::filesystem::path file = session.path(paths::kUploadReport);
    if (!state.keepDocuments) return report.loadFile(file);
    if (!LoadKeptDocument(state, state.uploadReportFile, state.uploadReport, file)) {
        report.clear();
        return false;
    }
    report.copyFrom(state.uploadReport);
    return true;
}

void SaveUploadReport(Session& session, const xml::Document& report) {
    ModuleState& state = session.state;
    const std::filesystem::path file = session.path(paths::kUploadReport);
    if (!state.keepDocuments) {
        platform::removeStaleTemporaries(file);  // saves are made under the install folder's lock
        report.save(file);
        return;
    }
    state.uploadReport.copyFrom(report);
    SaveKeptDocument(state, state.uploadReportFile, state.uploadReport, file);
}

std::vector<xml::Node> ReportGroups(const xml::Document& report) {
    return xml::childElements(report.root());
}

std::vector<xml::Node> ReportEntries(xml::Node group) {
    return xml::childElements(group);
}

bool RemoveEntryAndEmptyGroup(xml::Node entry) {
    const xml::Node group = xml::requireNode(entry).parent();
    xml::remove(entry);
    if (!xml::isElement(group) || xml::hasChildNodes(group)) return false;
    xml::remove(group);
    return true;
}

int16_t ReportEntryId(std::string_view text) {
    text = platform::trimBlanks(text);
    size_t pos = 0;
    const bool negative = pos < text.size() && text[pos] == '-';
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) ++pos;
    double value = 0;
    size_t digits = 0;
    for (; pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]));
         ++pos, ++digits)
        value = value * 10 + (text[pos] - '0');
    if (pos < text.size() && text[pos] == '.') {
        double scale = 0.1;
        for (++pos; pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]));
             ++pos, ++digits, scale /= 10)
            value += (text[pos] - '0') * scale;
    }
    if (digits == 0 || pos != text.size()) throw platform::typeMismatch();
    // Halves go to the even neighbour, as the runtime rounds.
    double rounded = std::nearbyint(negative ? -value : value);
    if (rounded < INT16_MIN || rounded > INT16_MAX) throw platform::overflow();
    return static_cast<int16_t>(rounded);
}

std::string_view ReportCostTypeContainer(std::string_view costType) {
    const RecordKind* kind = RecordKindByCostType(costType);
    return kind ? kind->element : std::string_view();
}

UploadReportIndex::UploadReportIndex(const xml::Document& report) {
    for (xml::Node group : ReportGroups(report)) {
        for (xml::Node entry : ReportEntries(group)) {
            if (const auto order = xml::attributeView(entry, kEntryOrder))
                byOrder_[std::string(*order)].push_back(entry);
        }
    }
}

const std::vector<xml::Node>& UploadReportIndex::entriesOf(std::string_view order) const {
    static const std::vector<xml::Node> none;
    const auto found = byOrder_.find(std::string(order));
    return found == byOrder_.end() ? none : found->second;
}

void UploadReportIndex::remove(xml::Node entry) {
    const auto order = xml::attributeView(entry, kEntryOrder);
    if (!order) return;
    const auto found = byOrder_.find(std::string(*order));
    if (found == byOrder_.end()) return;
    auto& entries = found->second;
    entries.erase(std::remove(entries.begin(), entries.end(), entry), entries.end());
}

}  // namespace quillmere
