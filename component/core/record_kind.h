#pragma once
// The five kinds of record in the order store, described once: the code the page functions
// pass, the form (and script) name, the store container, the cost type and the captions. The
// store, every view and form, the error pool and the look-ups read their kind from here.
//
// Failures: none; look-ups answer nullptr for an unknown name.
#include <array>
#include <string_view>

namespace quillmere {

// The order store's containers (see component/store/order_store.h).
inline constexpr std::string_view kStoreRoot = "zudivevezored";
inline constexpr std::string_view kOrders = "ccsocservcordr";
inline constexpr std::string_view kActivities = "ccsocservcactv";
inline constexpr std::string_view kMaterialLines = "ccsocservcmatl";
inline constexpr std::string_view kLaborLines = "ccsocservclabr";
inline constexpr std::string_view kOtherLines = "ccsocservcothr";
inline constexpr std::string_view kHoursRegistrations = "ccsocservchra";

// The codes of the record kinds as the page functions pass them.
namespace kind_code {
inline constexpr std::string_view kOrder = "1";
inline constexpr std::string_view kActivity = "2";
inline constexpr std::string_view kMaterialLine = "3";
inline constexpr std::string_view kLaborLine = "4";
inline constexpr std::string_view kOtherLine = "5";
}  // namespace kind_code

// The registry counters of provisional numbers: "OrderId", "ActivityId", "LineId".
enum class RecordCounter { Order, Activity, Line };

enum class RecordType { Order, Activity, MaterialLine, LaborLine, OtherLine };

struct RecordKind {
    RecordType type;
    std::string_view code;        // "1" order, "2" activity, "3" material, "4" labor, "5" other
    std::string_view objectName;  // "order", "activity", "material", "labor", "other"
    std::string_view element;     // the store container (kOrders, kActivities, ...)
    // Cost lines only ("" for orders and activities): the cost type as the upload report and
    // the list methods name it, and its number as BuildCostLines takes it.
    std::string_view costType;
    std::string_view costTypeNumber;
    RecordCounter counter;  // where a new record's provisional number comes from
    // Label keys: the detail view's title, the new-record form's title, the cost-line list's
    // title and the error pool's caption ("" where the kind has none).
    std::string_view detailsTitle;
    std::string_view newRecordTitle;
    std::string_view listTitle;
    std::string_view errorPoolCaption;

    bool isCostLine() const { return !costType.empty(); }
};

// Order, activity, material line, labor line, other line.
const std::array<RecordKind, 5>& RecordKinds();

const RecordKind& OrderKind();
const RecordKind& ActivityKind();

const RecordKind* RecordKindByCode(std::string_view code);
const RecordKind* RecordKindByElement(std::string_view element);
const RecordKind* RecordKindByCostType(std::string_view costType);
const RecordKind* RecordKindByCostTypeNumber(std::string_view number);
const RecordKind* RecordKindByObjectName(std::string_view objectName);

}  // namespace quillmere
