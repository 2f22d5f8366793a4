#include "component/core/record_kind.h"

#include "component/core/label_keys.h"

namespace quillmere {

namespace {

// clang-format off
constexpr std::array<RecordKind, 5> kRecordKinds = {{
    {RecordType::Order, kind_code::kOrder, "order", kOrders, "", "", RecordCounter::Order,
     label::kOrderDetails, label::kNewServiceOrder, "", ""},
    {RecordType::Activity, kind_code::kActivity, "activity", kActivities, "", "", RecordCounter::Activity,
     label::kActivityDetails, label::kNewActivity, "", ""},
    {RecordType::MaterialLine, kind_code::kMaterialLine, "material", kMaterialLines, "Material", "1", RecordCounter::Line,
     label::kMaterialLineDetails, label::kNewMaterialLine, label::kMaterialCostLines,
     label::kMaterialLine},
    {RecordType::LaborLine, kind_code::kLaborLine, "labor", kLaborLines, "Labor", "2", RecordCounter::Line,
     label::kLaborLineDetails, label::kNewLaborLine, label::kLaborCostLines, label::kLaborLine},
    {RecordType::OtherLine, kind_code::kOtherLine, "other", kOtherLines, "Other", "3", RecordCounter::Line,
     label::kOtherLineDetails, label::kNewOtherLine, label::kOtherCostLines,
     label::kOtherCostLine},
}};
// clang-format on

template <typename Member>
const RecordKind* findBy(Member member, std::string_view value) {
    if (value.empty()) return nullptr;
    for (const RecordKind& kind : kRecordKinds) {
        if (kind.*member == value) return &kind;
    }
    return nullptr;
}

}  // namespace

const std::array<RecordKind, 5>& RecordKinds() {
    return kRecordKinds;
}

const RecordKind& OrderKind() {
    return kRecordKinds[0];
}
const RecordKind& ActivityKind() {
    return kRecordKinds[1];
}

const RecordKind* RecordKindByCode(std::string_view code) {
    return findBy(&RecordKind::code, code);
}

const RecordKind* RecordKindByElement(std::string_view element) {
    return findBy(&RecordKind::element, element);
}

const RecordKind* RecordKindByCostType(std::string_view costType) {
    return findBy(&RecordKind::costType, costType);
}

const RecordKind* RecordKindByCostTypeNumber(std::string_view number) {
    return findBy(&RecordKind::costTypeNumber, number);
}

const RecordKind* RecordKindByObjectName(std::string_view objectName) {
    return findBy(&RecordKind::objectName, objectName);
}

}  // namespace quillmere
