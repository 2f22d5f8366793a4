// The datasource component over an ERP audit database: one table ERPAUDIT whose rows are the
// changes of every business object, with the record's fields before and after the change as
// JSON objects. A company's bus-component address is the connection string of its audit
// database.
#include <map>
#include <optional>

#include "platform/db/database.h"
#include "platform/registry.h"
#include "sync/erp/audit_values.h"
#include "sync/erp/business_objects.h"
#include "sync/erp/datasource.h"

namespace brindlemoor::erp {

namespace {

namespace db = platform::db;

constexpr std::string_view kItemProjectSegment = "         ";

// Runs `work`, reporting every failure as the component's own.
template <class Work>
auto asComponentFailure(Work&& work) -> decltype(work()) {
    try {
        return work();
    } catch (const DatasourceError&) {
        throw;
    } catch (const platform::PlatformError& error) {
        throw DatasourceError(error.code(), error.description());
    } catch (const std::exception& error) {
        throw DatasourceError(platform::failure::kGeneral, error.what());
    }
}

// The values of one audit record, before or after its change.
class AuditRecord final : public Record {
  public:
    // `oldValuesOf`: for the values before the change, the criteria that say which fields
    // were asked for with their old value; the others answer nothing.
    AuditRecord(std::shared_ptr<const AuditValues> values, const BusinessObjectFields& object,
                std::shared_ptr<const AuditCriteria> oldValuesOf)
        : values_(std::move(values)), object_(object), oldValuesOf_(std::move(oldValuesOf)) {}

    Value get(std::string_view member) const override {
        const std::string_view field = fieldOfMember(object_, member);
        if (field.empty()) return Value();
        if (oldValuesOf_ != nullptr && !oldValuesOf_->wantsOldValue(field)) return Value();
        return values_->get(field);
    }

  private:
    std::shared_ptr<const AuditValues> values_;
    const BusinessObjectFields& object_;
    std::shared_ptr<const AuditCriteria> oldValuesOf_;
};

std::optional<int64_t> wholeNumber(const Value& value) {
    if (value.isNumber()) return value.number();
    const std::string text = value.asText();
    if (text.empty()) return std::nullopt;
    size_t used = 0;
    try {
        const long long number = std::stoll(text, &used);
        if (used == text.size()) return number;
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

// Numbers compare as numbers where both sides are numbers, everything else as text in byte
// order, as the ERP compares its codes.
int compareKey(const Value& key, const Value& bound) {
    if (key.isNumber() || bound.isNumber()) {
        const std::optional<int64_t> a = wholeNumber(key);
        const std::optional<int64_t> b = wholeNumber(bound);
        if (a && b) return *a < *b ? -1 : (*a > *b ? 1 : 0);
    }
    const int order = key.asText().compare(bound.asText());
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

bool withinBounds(const AuditValues& values, const AuditCriteria& criteria) {
    for (const Parameter& parameter : criteria.parameters()) {
        Value key = values.get(parameter.fieldName());
        if (parameter.fieldName() == kItemField) {
            key = Value::text(std::string(kItemProjectSegment) + key.asText());
        }
        if (compareKey(key, parameter.from()) < 0 || compareKey(key, parameter.to()) > 0) {
            return false;
        }
    }
    return true;
}

// Values are flat records of fields; a few levels cover any field that holds a list. Deeper
// nesting is refused before it is parsed, so that no step on the value (parsing, converting,
// writing it out as text) can run out of stack on it.
constexpr size_t kMaxValueDepth = 32;

// True when arrays and objects in the JSON text nest deeper than `limit` (the text's own
// object counting as one level). Strings are skipped, with their escapes.
bool nestsDeeperThan(std::string_view text, size_t limit) {
    size_t depth = 0;
    bool inString = false;
    for (size_t pos = 0; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (inString) {
            if (c == '\\') {
                ++pos;
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > limit) return true;
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        }
    }
    return false;
}

std::shared_ptr<const AuditValues> parseValues(const db::Value& text, const std::string& sequence,
                                               std::string_view object) {
    if (!text || text->find_first_not_of(" \t\r\n") == std::string::npos) return nullptr;
    if (nestsDeeperThan(*text, kMaxValueDepth)) {
        throw DatasourceError(platform::failure::kGeneral,
                              "The audit record " + sequence + " of " + std::string(object) +
                                  " holds values nested deeper than " +
                                  std::to_string(kMaxValueDepth) + " levels.");
    }
    try {
        return std::make_shared<const AuditValues>(AuditValues::parse(*text));
    } catch (const std::exception& error) {
        throw DatasourceError(platform::failure::kGeneral,
                              "The audit record " + sequence +
                                  " holds values that are not a JSON object: " + error.what());
    }
}

int16_t changeKind(const db::Value& text) {
    if (!text) return -1;
    try {
        const int kind = std::stoi(*text);
        return kind >= INT16_MIN && kind <= INT16_MAX ? static_cast<int16_t>(kind) : -1;
    } catch (const std::exception&) {
        return -1;
    }
}

class AuditChangeStream final : public ChangeStream {
  public:
    AuditChangeStream(db::Recordset rows, const BusinessObjectFields& object,
                      AuditCriteria criteria)
        : rows_(std::move(rows)),
          object_(object),
          criteria_(std::make_shared<const AuditCriteria>(std::move(criteria))) {}

    bool hasMore() override {
        return asComponentFailure([&] { return findNext(); });
    }

    Change next() override {
        return asComponentFailure([&] {
            if (!findNext()) {
                throw DatasourceError(platform::failure::kGeneral,
                                      "The business object has no further change.");
            }
            Change change;
            const std::vector<db::Value>& row = rows_.row(position_);
            change.kind = changeKind(row[1]);
            if (auto old = parseValues(row[2], *row[0], object_.name)) {
                change.oldValues =
                    std::make_unique<AuditRecord>(std::move(old), object_, criteria_);
            }
            change.currentValues =
                std::make_unique<AuditRecord>(std::move(current_), object_, nullptr);
            current_.reset();
            ++position_;
            return change;
        });
    }

  private:
    // Moves to the next change whose key lies within the bounds; keeps its values parsed.
    bool findNext() {
        if (current_) return true;
        for (; position_ < rows_.rowCount(); ++position_) {
            const std::vector<db::Value>& row = rows_.row(position_);
            std::shared_ptr<const AuditValues> values =
                parseValues(row[3], row[0].value_or(""), object_.name);
            if (!values) values = std::make_shared<const AuditValues>();
            if (withinBounds(*values, *criteria_)) {
                current_ = std::move(values);
                return true;
            }
        }
        return false;
    }

    db::Recordset rows_;
    const BusinessObjectFields& object_;
    std::shared_ptr<const AuditCriteria> criteria_;
    size_t position_ = 0;
    std::shared_ptr<const AuditValues> current_;
};

// Audit databases stay open for the datasource's lifetime, one per bus-component address.
class AuditConnections {
  public:
    explicit AuditConnections(platform::MachineRoot root) : root_(std::move(root)) {}

    db::Statement& changesSince(const std::string& address, bool withPeriod) {
        Open& open = connection(address);
        std::unique_ptr<db::Statement>& statement = withPeriod ? open.sincePeriod : open.all;
        if (!statement) {
            statement = open.connection->prepare(
                withPeriod ? "SELECT SEQ, KIND, OLDVALUES, NEWVALUES FROM ERPAUDIT "
                             "WHERE BUSINESSOBJECT = ? AND CHANGEDAT >= ? ORDER BY SEQ"
                           : "SELECT SEQ, KIND, OLDVALUES, NEWVALUES FROM ERPAUDIT "
                             "WHERE BUSINESSOBJECT = ? ORDER BY SEQ");
        }
        return *statement;
    }

  private:
    struct Open {
        std::unique_ptr<db::Connection> connection;
        std::unique_ptr<db::Statement> sincePeriod;
        std::unique_ptr<db::Statement> all;
    };

    Open& connection(const std::string& address) {
        auto found = open_.find(address);
        if (found == open_.end()) {
            Open opened;
            opened.connection = db::connect(address, root_);
            found = open_.emplace(address, std::move(opened)).first;
        }
        return found->second;
    }

    platform::MachineRoot root_;
    std::map<std::string, Open> open_;
};

class AuditBusinessObject final : public BusinessObject {
  public:
    AuditBusinessObject(const BusinessObjectFields& object, std::shared_ptr<AuditConnections> audit)
        : object_(object), audit_(std::move(audit)) {}

    std::unique_ptr<ChangeStream> query(const ConnectionContext& context,
                                        const AuditCriteria& criteria) override {
        return asComponentFailure([&]() -> std::unique_ptr<ChangeStream> {
            const auto& from = criteria.period().from();
            db::Statement& statement = audit_->changesSince(context.address(), from.has_value());
            statement.bind(0, std::string(object_.name));
            if (from) statement.bind(1, platform::formatIsoDateTime(*from));
            return std::make_unique<AuditChangeStream>(statement.query(), object_, criteria);
        });
    }

  private:
    const BusinessObjectFields& object_;
    std::shared_ptr<AuditConnections> audit_;
};

class AuditDatasource final : public Datasource {
  public:
    explicit AuditDatasource(platform::MachineRoot root)
        : root_(root), audit_(std::make_shared<AuditConnections>(root)) {}

    std::string GetConnectionString(int application) override {
        return asComponentFailure([&] {
            const platform::Registry registry(root_);
            const std::string name = std::to_string(application);
            if (!registry.keyExists(platform::Hive::LocalMachine, kConnectionStringsKey))
                return std::string();
            for (const platform::RegistryValue& value :
                 registry.values(platform::Hive::LocalMachine, kConnectionStringsKey)) {
                if (platform::equalsIgnoreCase(value.name, name) &&
                    value.type == platform::ValueType::String) {
                    return value.text;
                }
            }
            return std::string();
        });
    }

    std::unique_ptr<BusinessObject> createBusinessObject(std::string_view name) override {
        const BusinessObjectFields* object = findBusinessObject(name);
        if (object == nullptr) {
            throw DatasourceError(kCannotCreateObject,
                                  "ActiveX component can't create object: " + std::string(name));
        }
        return std::make_unique<AuditBusinessObject>(*object, audit_);
    }

  private:
    platform::MachineRoot root_;
    std::shared_ptr<AuditConnections> audit_;
};

}  // namespace

std::unique_ptr<Datasource> createDatasource(const platform::MachineRoot& root) {
    // The middleware's installation registers the component together with its connection
    // strings; without them there is no component to create.
    const platform::Registry registry(root);
    if (!registry.keyExists(platform::Hive::LocalMachine, kMiddlewareKey) ||
        !registry.keyExists(platform::Hive::LocalMachine, kConnectionStringsKey)) {
        throw platform::PlatformError(kCannotCreateObject, "ActiveX component can't create object");
    }
    return std::make_unique<AuditDatasource>(root);
}

}  // namespace brindlemoor::erp
