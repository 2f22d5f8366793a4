// Fuzz target: the values of an ERP audit record, as the datasource reads them from the audit
// database. The input holds NEWVALUES, then after a NUL byte OLDVALUES; its first byte chooses
// the business object and the kind. Every member of the record is read.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/db/database.h"
#include "platform/registry.h"
#include "sync/erp/business_objects.h"
#include "sync/erp/datasource.h"
#include "tests/support/temp_root.h"

namespace {

using namespace brindlemoor::erp;

// A machine root with the middleware registered and one audit database.
class AuditMachine {
  public:
    AuditMachine() {
        platform::Registry(temp_.root())
            .createKey(platform::Hive::LocalMachine, kConnectionStringsKey);
        const std::string file = (temp_.dir() / "audit.db").string();
        address_ = "sqlite:" + file;
        testing_support::writeFile(file, "");
        writer_ = platform::db::connect(address_, temp_.root());
        writer_->execute(testing_support::readFile(std::string(TAVIRO_SOURCE_DIR) +
                                                   "/data/server/erp-audit.sql"));
        writer_->execute("PRAGMA journal_mode=MEMORY; PRAGMA synchronous=OFF");
        insert_ =
            writer_->prepare("INSERT INTO ERPAUDIT VALUES (1, ?, '2026-12-07 09:05:00', ?, ?, ?)");
        datasource_ = createDatasource(temp_.root());
        context_.setAddress(address_);
    }

    void readChange(const BusinessObjectFields& object, int kind, std::string_view newValues,
                    std::string_view oldValues) {
        writer_->execute("DELETE FROM ERPAUDIT");
        insert_->bind(0, std::string(object.name));
        insert_->bind(1, std::to_string(kind));
        insert_->bind(2, std::string(oldValues));
        insert_->bind(3, std::string(newValues));
        insert_->execute();
        try {
            readAll(object);
        } catch (const DatasourceError&) {
            // Values the component cannot read fail the query with its own error.
        }
    }

  private:
    void readAll(const BusinessObjectFields& object) {
        AuditCriteria criteria;
        Parameter bounds;
        bounds.setFieldName(object.members.front().field);
        bounds.setFrom(Value::text(""));
        bounds.setTo(Value::text("zzzzzzzzzzzz"));
        criteria.addParameter(bounds);
        for (const MemberField& member : object.members)
            criteria.addOutputFieldWithOldValue(member.field);
        const std::unique_ptr<ChangeStream> changes =
            datasource_->createBusinessObject(object.name)->query(context_, criteria);
        while (changes->hasMore()) {
            const Change change = changes->next();
            for (const MemberField& member : object.members) {
                (void)change.currentValues->get(member.member).asText();
                if (change.oldValues) (void)change.oldValues->get(member.member).asText();
            }
        }
    }

    testing_support::TempRoot temp_;
    std::string address_;
    std::unique_ptr<platform::db::Connection> writer_;
    std::unique_ptr<platform::db::Statement> insert_;
    std::unique_ptr<Datasource> datasource_;
    ConnectionContext context_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static AuditMachine machine;
    if (size == 0) return 0;
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const auto& objects = businessObjects();
    const BusinessObjectFields& object = objects[data[0] % objects.size()];
    const size_t split = input.find('\0');
    const std::string_view newValues = input.substr(0, split);
    const std::string_view oldValues =
        split == std::string_view::npos ? std::string_view() : input.substr(split + 1);
    machine.readChange(object, data[0] / 64, newValues, oldValues);
    return 0;
}
