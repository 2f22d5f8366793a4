#pragma once
// The particulars of every table transfer: one table drives the one transfer mechanism
// (table_transfer.h). A transfer is told by what it asks the ERP for (business object, key
// parameters and bounds, output fields), how it reads the ERP record (key members, column
// sources), where it writes (server table, change-file rows), and what it shows and logs.
#include <string_view>
#include <vector>

namespace brindlemoor {

// The ERP enumerations whose values reach the tables as localized texts.
enum class Enumeration { PhysicalQuantity, CostType, ReasonType, ServiceProcedure };

// The descriptions a server-only transfer copies into the rows that repeat them.
enum class Propagation {
    None,
    BusinessPartnerName,
    DepartmentDescription,
    LaborRateDescription,
    ItemDescription
};

// How rows are grouped into table elements of the change file.
enum class Split {
    None,            // one element per table
    Configurations,  // by the configuration's service center (ERP, else the server's)
    Objects          // by the service center the server holds for the object's configuration
};

struct KeyParameter {
    std::string_view field{};  // ERP field name
    std::string_view from{};
    std::string_view to{};
    bool numeric = false;  // bounds are whole numbers
};

struct ColumnSource {
    enum class Kind { Member, Enumeration, Lookup };
    Kind kind = Kind::Member;
    std::string_view column{};  // server column and change-file element
    // Member and Enumeration: the member of the current record.
    std::string_view member{};
    Enumeration enumeration = Enumeration::PhysicalQuantity;
    // Lookup: the description of a code, read from another server table.
    std::string_view lookupTable{};
    std::string_view lookupKeyColumn{};
    std::string_view codeColumn{};  // the column holding the code; empty: the row's own key
    bool onlyForCode = false;       // looked up only when the code is not empty
};

struct TransferParticulars {
    std::string_view name{};   // the operation, e.g. "get_Units"
    std::string_view table{};  // server table and business object, e.g. "UNITS"
    bool toClients = true;     // false: kept in the server database only
    std::vector<KeyParameter> keyParameters{};
    std::vector<std::string_view> fieldsWithOldValue{};
    std::vector<std::string_view> outputFields{};
    // The key: members read and the server columns they fill (OBJECTS: three of each).
    std::vector<std::string_view> keyMembers{};
    std::vector<std::string_view> keyColumns{};
    bool itemKey = false;                 // the key is nine blanks followed by the item code
    std::vector<ColumnSource> columns{};  // beyond the key, in server and file order
    Split split = Split::None;
    std::string_view serviceCenterMember{};  // Split::Configurations: the ERP's service center
    bool windowSecondsZero = false;
    Propagation propagation = Propagation::None;
    // Progress and log.
    int captionPosition = -1;  // position among the table captions; -1: the UNITS caption
    std::string_view dots{};
    std::string_view logCaption{};
};

// All transfers in the order a company's run performs them.
const std::vector<TransferParticulars>& TransfersInRunOrder();

// One transfer by its operation name; nullptr when there is none.
const TransferParticulars* FindTransfer(std::string_view name);

}  // namespace brindlemoor
