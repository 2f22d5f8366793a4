#pragma once
// The audit objects a query is described with: a date object for the start of the change
// window, the period that holds it, one parameter (field and bounds) per key field, and the
// criteria that collect them together with the fields to return.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "sync/erp/values.h"

namespace brindlemoor::erp {

// A date object whose fields are set one by one, in the manner of the middleware's own date
// class: years count from 1900, months from 0, and a field out of range carries over into the
// next larger one. A new object stands at 1970-01-01 00:00:00, so fields that are never set are
// zero (a window start never picks up the seconds of the moment it was built).
class Date {
  public:
    void setYear(int yearsSince1900) { year_ = yearsSince1900; }
    void setMonth(int zeroBasedMonth) { month_ = zeroBasedMonth; }
    void setDate(int day) { day_ = day; }
    void setHours(int hours) { hours_ = hours; }
    void setMinutes(int minutes) { minutes_ = minutes; }
    void setSeconds(int seconds) { seconds_ = seconds; }

    // The local date and time the fields stand for, carried over into range.
    platform::LocalDateTime localTime() const;

  private:
    int year_ = 70;
    int month_ = 0;
    int day_ = 1;
    int hours_ = 0;
    int minutes_ = 0;
    int seconds_ = 0;
};

// The change window. Without an end it runs up to the moment of the query.
class Period {
  public:
    void setFrom(const Date& from) { from_ = from.localTime(); }
    const std::optional<platform::LocalDateTime>& from() const { return from_; }

  private:
    std::optional<platform::LocalDateTime> from_;
};

// The bounds of one key field (both included).
class Parameter {
  public:
    void setFieldName(std::string_view field) { field_ = field; }
    void setFrom(Value from) { from_ = std::move(from); }
    void setTo(Value to) { to_ = std::move(to); }
    const std::string& fieldName() const { return field_; }
    const Value& from() const { return from_; }
    const Value& to() const { return to_; }

  private:
    std::string field_;
    Value from_;
    Value to_;
};

class AuditCriteria {
  public:
    void setPeriod(const Period& period) { period_ = period; }
    void addParameter(const Parameter& parameter) { parameters_.push_back(parameter); }
    void addOutputFieldWithOldValue(std::string_view field) { withOldValue_.emplace_back(field); }
    void addOutputField(std::string_view field) { output_.emplace_back(field); }

    const Period& period() const { return period_; }
    const std::vector<Parameter>& parameters() const { return parameters_; }
    const std::vector<std::string>& fieldsWithOldValue() const { return withOldValue_; }
    const std::vector<std::string>& outputFields() const { return output_; }
    bool wantsOldValue(std::string_view field) const;

  private:
    Period period_;
    std::vector<Parameter> parameters_;
    std::vector<std::string> withOldValue_;
    std::vector<std::string> output_;
};

}  // namespace brindlemoor::erp
