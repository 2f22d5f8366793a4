#pragma once
// Writes the rows of one table element to the local database inside one transaction, with one
// prepared statement per statement shape. The outcome is that of executing the statements one
// by one: the rows before a failing row stay applied, the failing row and those after it are
// not. Rows converge on the database's content: an Insert of a key that exists updates it, a
// Modify of a missing key inserts it, a Delete of a missing key is done; so applying a change
// file twice, or again after a failure, leaves what applying it once leaves.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "component/masterdata/masterdata_statement.h"
#include "platform/db/database.h"
#include "platform/xml/document.h"

namespace quillmere {

struct TableWriteResult {
    bool complete = true;    // false when a row failed
    size_t rowsApplied = 0;  // statements executed and kept
    std::string failure;     // the error, the row it met and its statement
};

class TableRowsWriter {
  public:
    TableRowsWriter(platform::db::Connection& connection, std::string_view table,
                    std::string_view company);

    // Applies every row (child node) of the table element in order.
    TableWriteResult write(platform::xml::Node tableElement);

  private:
    platform::db::Statement& prepared(const std::string& sql);
    bool sameShapeAsLastBuilt() const;
    void rememberShape();
    void applyOtherForm();
    void applyRows(platform::xml::Node tableElement, TableWriteResult& result, size_t& rowNumber,
                   bool& statementReady);

    struct Prepared {
        std::string sql;
        std::unique_ptr<platform::db::Statement> statement;
    };

    platform::db::Connection& connection_;
    std::string_view table_;
    std::string_view company_;
    std::vector<Prepared> prepared_;
    masterdata_file::ChangeRow row_;
    MasterDataStatement statement_;
    // The row's statement in the other form (update for an Insert, insert for a Modify), and
    // the statement a failure report shows.
    MasterDataStatement otherForm_;
    const MasterDataStatement* logged_ = &statement_;
    // The row whose statement was built last (its values aside), and that statement.
    masterdata_file::ChangeRow lastShape_;
    platform::db::Statement* current_ = nullptr;
};

}  // namespace quillmere
