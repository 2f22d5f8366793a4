#include "component/store/field_validation.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <vector>

#include "component/core/field_definitions.h"
#include "component/core/label_keys.h"
#include "component/core/labels.h"
#include "component/store/code_lookups.h"
#include "component/store/order_status.h"
#include "component/store/order_store.h"
#include "component/store/value_checks.h"
#include "platform/text.h"

namespace quillmere {

namespace xml = platform::xml;

namespace {

constexpr std::string_view kInterrupted = "1";
constexpr std::string_view kNotInterrupted = "2";

bool isOneOf(std::string_view field, std::initializer_list<std::string_view> names) {
    return std::find(names.begin(), names.end(), field) != names.end();
}

bool isUpperCase(std::string_view value) {
    return std::none_of(value.begin(), value.end(),
                        [](char c) { return std::islower(static_cast<unsigned char>(c)) != 0; });
}

// One field's validation: its rules, and the message of the first one that fails.
class FieldCheck {
  public:
    FieldCheck(Session& session, std::string_view kind, std::string_view field,
               const std::string& value, std::string_view deliveryType, std::string& message)
        : session_(session),
          memory_(session.state.validation),
          kind_(kind),
          field_(field),
          value_(value),
          deliveryType_(deliveryType),
          message_(message) {}

    bool run() {
        if (isOneOf(field_, {"PlannedStartTime", "PlannedFinishTime", "StartDate", "OrderDate",
                             "ExecutionStartTime", "ExecutionFinishTime"}))
            return checkDateField();
        if (field_ == "EndDate") return checkHours();
        if (isOneOf(field_, {"Description", "ActivityDescription"})) return checkRequired();
        if (field_ == "Interrupted") return checkInterrupted();
        if (field_ == "OrderStatus") return remember(memory_.orderStatus);
        if (field_ == "ActivityStatus") return remember(memory_.activityStatus);
        if (field_ == "Object") return checkObject();
        if (field_ == "ObjectNumber") return checkObjectNumber();
        if (isOneOf(field_, {"DeliveredQuantity", "ActualQuantity", "ActualCostPrice1"}))
            return checkQuantity();
        if (IsLookedUpCode(field_)) return checkRequiredCode() && checkCodeExists();
        return true;
    }

  private:
    bool isOrder() const { return kind_ == kOrders; }
    bool isActivity() const { return kind_ == kActivities; }
    bool isMaterialLine() const { return kind_ == kMaterialLines; }
    bool isLaborLine() const { return kind_ == kLaborLines; }
    bool orderIsOpen() const { return ParseOrderStatus(memory_.orderStatus) == OrderStatus::Open; }

    // The field's label, one blank, the label text.
    bool failWithLabel(std::string_view key) {
        message_ = FieldLabel(session_, kind_, field_);
        message_ += " ";
        message_ += GetLabelText(session_, key);
        return false;
    }
    // The field's element name, the separator, the label text.
    bool failWithName(std::string_view separator, std::string_view key) {
        message_ = field_;
        message_ += separator;
        message_ += GetLabelText(session_, key);
        return false;
    }
    bool failWithText(std::string_view key) {
        message_ = GetLabelText(session_, key);
        return false;
    }

    bool remember(std::string& slot) {
        slot = value_;
        return true;
    }

    bool checkRequired() { return !value_.empty() || failWithLabel(label::kRequired); }

    bool checkDate(bool required) {
        if (required && value_.empty()) return failWithLabel(label::kRequired);
        return IsStoredDate(value_) || failWithLabel(label::kNotADate);
    }

    bool checkDateField() {
        if (isOrder()) return field_ != "OrderDate" || !orderIsOpen() || checkDate(true);
        if (isActivity()) {
            if (isOneOf(field_, {"PlannedStartTime", "PlannedFinishTime"})) return checkDate(true);
            if (isOneOf(field_, {"ExecutionStartTime", "ExecutionFinishTime"}))
                return value_.empty() || checkDate(false);
            return true;
        }
        // An empty date of a labor line other than StartDate fails as a bad date.
        if (isLaborLine()) return checkDate(field_ == "StartDate");
        return true;
    }

    bool checkHours() {
        const std::optional<double> hours = NumericValue(value_);
        return (hours && *hours > 0 && *hours <= 24) || failWithLabel(label::kBadNumber);
    }

    bool checkInterrupted() {
        if (isOrder() && !orderIsOpen() && value_ == kInterrupted)
            return failWithLabel(label::kOrderNotOpen);
        return remember(memory_.interrupted);
    }

    bool checkObject() {
        if (value_.empty()) {
            memory_.object.clear();
            return true;
        }
        const bool found = MasterDataHasRow(session_, ObjectLookup(memory_.configuration, value_));
        if (!found || !isUpperCase(value_)) {
            memory_.object.clear();
            return failWithText(label::kUnknownObject);
        }
        return remember(memory_.object);
    }

    bool checkObjectNumber() {
        if (memory_.object.empty()) return true;
        if (value_.empty()) return failWithText(label::kUnknownObject);
        const MasterDataLookup lookup =
            ObjectNumberLookup(memory_.configuration, memory_.object, value_);
        return MasterDataHasRow(session_, lookup) || failWithText(label::kUnknownObject);
    }

    bool checkQuantity() {
        if (platform::trimBlanks(value_).empty() || IsNumericText(value_)) return true;
        return failWithName(" :  ", label::kBadNumber);
    }

    // The required rules of the master-data codes, before their look-up.
    bool checkRequiredCode() {
        const bool empty = value_.empty();
        if (field_ == "ActualWarehouse")
            return !empty || deliveryType_ == "22" || deliveryType_ == "15" ||
                   failWithLabel(label::kRequired);
        if (isOneOf(field_, {"SalesQuantityUnit", "ServiceItem"}))
            return !empty || !isMaterialLine() || failWithLabel(label::kRequired);
        if (field_ == "Configuration") {
            remember(memory_.configuration);
            return !empty || !isOrder() || failWithLabel(label::kRequired);
        }
        if (isOneOf(field_, {"HourlyLaborType", "CostComponent", "ReferenceActivity"}))
            return checkRequired();
        if (field_ == "ServiceKit")
            return !platform::trimBlanks(value_).empty() || !isMaterialLine() ||
                   deliveryType_ != "11" || failWithLabel(label::kRequired);
        if (field_ == "InterruptionReason") return checkInterruptionReason();
        return true;
    }

    bool checkInterruptionReason() {
        const bool empty = value_.empty();
        if (isOrder() && !orderIsOpen()) return empty || failWithLabel(label::kOrderNotOpen);
        if (empty && memory_.interrupted == kInterrupted) return failWithLabel(label::kRequired);
        if (!empty && memory_.interrupted == kNotInterrupted)
            return failWithLabel(label::kOrderNotInterrupted);
        return true;
    }

    bool checkCodeExists() {
        if (value_.empty()) return true;
        if (field_ == "ServiceKit" && !isMaterialLine()) return true;
        return MasterDataHasRow(session_, *CodeLookup(field_, value_)) ||
               failWithName(" ", label::kUnknownCode);
    }

    Session& session_;
    ValidationMemory& memory_;
    std::string_view kind_;
    std::string_view field_;
    const std::string& value_;
    std::string_view deliveryType_;
    std::string& message_;
};

std::string deliveryTypeOf(xml::Node record) {
    std::string deliveryType;
    const std::vector<xml::Node> fields = xml::childElements(record);
    for (size_t i = 1; i < fields.size(); ++i)
        if (std::string_view(fields[i].name()) == "DeliveryType")
            deliveryType = xml::text(fields[i]);
    return deliveryType;
}

}  // namespace

bool ValidateRecord(Session& session, xml::Node record, std::string_view kind,
                    std::string& message) {
    const std::string deliveryType =
        kind == kMaterialLines ? deliveryTypeOf(record) : std::string();
    for (xml::Node field : xml::childElements(record)) {
        if (!ValidateField(session, kind, field.name(), xml::text(field), message, deliveryType))
            return false;
    }
    return true;
}

bool ValidateField(Session& session, std::string_view kind, std::string_view field,
                   const std::string& value, std::string& message, std::string_view deliveryType) {
    message.clear();
    return FieldCheck(session, kind, field, value, deliveryType, message).run();
}

std::string FieldLabel(Session& session, std::string_view kind, std::string_view field) {
    const std::vector<xml::Node> definitions =
        xml::selectAll(session.state.fieldMapper.node(), FieldDefinitionPath(kind, field));
    if (definitions.empty()) return std::string(field);
    return xml::attribute(definitions.front(), "LABEL").value_or("");
}

}  // namespace quillmere
