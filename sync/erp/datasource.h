#pragma once
// The ERP middleware's datasource component as the synchronizer uses it. The synchronizer
// creates a business object per table and a connection context that is given the company's
// bus-component address, describes the wanted changes with audit criteria, and reads the
// change stream: per change its kind and the record's values before and after it.
//
// Failures of the component reach the caller as DatasourceError, whose source names the
// component, so that the run's error handling can tell them from its own.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/failure.h"
#include "platform/machine_root.h"
#include "sync/erp/audit_criteria.h"
#include "sync/erp/values.h"

namespace brindlemoor::erp {

inline constexpr std::string_view kComponentName = "Corbelline.DatasourceConnection";

// The middleware's registration in HKLM: its key, and below it the connection strings by
// application number.
inline constexpr std::string_view kMiddlewareKey = "SOFTWARE\\Taviro\\Taviro Corbelline";
inline constexpr std::string_view kConnectionStringsKey =
    "SOFTWARE\\Taviro\\Taviro Corbelline\\ConnectionStrings";

class DatasourceError : public platform::PlatformError {
  public:
    using platform::PlatformError::PlatformError;
    static std::string source() { return std::string(kComponentName); }
};

// What a change did to a record, with the numbers the component reports for it.
enum class ChangeKind : int16_t { Deleted = 0, Modified = 1, Inserted = 2 };

// One record of a business object: answers its member calls ("getUnit", "getDescription").
// A member the record has no value for answers an empty value.
class Record {
  public:
    virtual ~Record() = default;
    virtual Value get(std::string_view member) const = 0;
};

struct Change {
    // The number the component reports: a ChangeKind, or any other number it may send.
    int16_t kind = 0;
    std::unique_ptr<Record> oldValues;  // null when the ERP holds no previous values
    std::unique_ptr<Record> currentValues;
};

// The changes a query found, in the order the ERP made them.
class ChangeStream {
  public:
    virtual ~ChangeStream() = default;
    virtual bool hasMore() = 0;
    virtual Change next() = 0;
};

// Where the component reaches the company's bus component.
class ConnectionContext {
  public:
    void setAddress(std::string address) { address_ = std::move(address); }
    const std::string& address() const { return address_; }
    void close() { address_.clear(); }

  private:
    std::string address_;
};

class BusinessObject {
  public:
    virtual ~BusinessObject() = default;
    virtual std::unique_ptr<ChangeStream> query(const ConnectionContext& context,
                                                const AuditCriteria& criteria) = 0;
};

class Datasource {
  public:
    virtual ~Datasource() = default;
    // The connection string the middleware keeps for an application number; empty when it
    // keeps none.
    virtual std::string GetConnectionString(int application) = 0;
    // The business object feeding a server table ("UNITS", "DEPARTMENTS", ...).
    virtual std::unique_ptr<BusinessObject> createBusinessObject(std::string_view name) = 0;
};

// Creates the datasource component of this machine. Throws PlatformError with runtime error
// 429 (the component cannot be created) when the middleware is not installed in the root.
std::unique_ptr<Datasource> createDatasource(const platform::MachineRoot& root);

// Runtime error 429, "ActiveX component can't create object".
inline constexpr uint32_t kCannotCreateObject = 0x800A01AD;

}  // namespace brindlemoor::erp
