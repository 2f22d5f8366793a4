#pragma once
// The INSERT, UPDATE and DELETE statement of one change-file row. The statement is kept with
// a '?' for every value and the values beside it, so that rows of the same shape share one
// prepared statement and no value is ever spliced into SQL; its literal text (each value in
// quotes, apostrophes doubled) is the statement as the log shows it.
#include <string>
#include <string_view>
#include <vector>

#include "shared/masterdata_file/change_file_reader.h"

namespace quillmere {

struct MasterDataStatement {
    std::string sql;                       // with '?' for the values
    std::vector<std::string_view> values;  // views into the row and the company passed in
};

// Builds the statement of an Insert, Modify or Delete row into `out` (its buffers are reused):
//   INSERT INTO T(COMP,KEY,C1,...,Cn) VALUES (?,?,?,...,?)      OBJECTS: (COMP, CCFG,CROB,OSEQ,...
//   UPDATE T SET C1 = ?,...,Cn = ? WHERE  COMP = ? and KEY = ?
//   DELETE FROM T WHERE  COMP = ? and KEY = ?
// (OBJECTS: " COMP = ? and CCFG = ? and CROB = ? and OSEQ = ?"). An Insert or Modify row
// without column elements, and a row naming a key or column that the table's layout does not
// define (names are compared without regard to case), have no statement: PlatformError
// (kDatabase).
void BuildMasterDataStatement(std::string_view table, std::string_view company,
                              const masterdata_file::ChangeRow& row, MasterDataStatement& out);

// Only the values of the row's statement, in the order of its '?': for a row of the same shape
// (action, key and column names) as the one whose statement was built last.
void CollectMasterDataValues(std::string_view company, const masterdata_file::ChangeRow& row,
                             std::vector<std::string_view>& values);

// The statement with every '?' replaced by its value in quotes (apostrophes doubled).
std::string LiteralStatementText(const MasterDataStatement& statement);

}  // namespace quillmere
