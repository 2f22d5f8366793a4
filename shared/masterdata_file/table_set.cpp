#include "shared/masterdata_file/table_set.h"

namespace masterdata_file {

const std::vector<TableLayout>& clientTables() {
    static const std::vector<TableLayout> tables = {
        {"PROBLEMS", "CPRL", {"DSCA"}},
        {"SOLUTIONS", "CSTN", {"DSCA"}},
        {"ADDRESSES",
         "CADR",
         {"NAMA", "NAMB", "NAMC", "NAMD", "HONO", "POBN", "NAME", "NAMF", "PSTC", "TELP", "TELX",
          "TEFX", "CCTY", "CSTE"}},
        {"COSTCOMPONENTS", "CPCP", {"DSCA", "CREF"}},
        {"WAREHOUSES", "CWAR", {"DSCA", "CADR", "DADD"}},
        {"HOURLYLABORTYPE", "CHLT", {"DSCA"}},
        {"SERVICEAREAS", "CSAR", {"DSCA", "CMSA", "CWOC", "CWAR"}},
        {"SERVICETYPES", "CSTP", {"DSCA", "SEPR"}},
        {"CONTACTS",
         "CCNT",
         {"CTIT", "INIT", "INSE", "SURN", "POST", "CHRN", "TELP", "TELD", "TEFX", "CLAN", "MAIL"}},
        {"PRIORITIES", "PRIO", {"DSCA"}},
        {"REASONS", "CDIS", {"DSCA", "RSTP"}},
        {"UNITS", "CUNI", {"DSCA", "TCCU"}},
        {"REFERENCEACTIVITIES", "CRAC", {"DSCA", "CPRL", "PDSC", "CSTN", "SDSC"}},
        {"TASKS", "CTSK", {"DSCA", "CLRT", "DLRT", "CPCP", "DCMP"}},
        {"SERVICECAR", "CCAR", {"DSCA", "CWAR", "DSCB"}},
        {"SERVICECENTERS", "CWOC", {"DSCA", "CWAR", "DWRH", "CLRT", "DLRT"}},
        {"SERVICEITEMS", "ITEM", {"DSCA"}},
        {"SERVICEKITS", "CSKT", {"DSCA", "CWAR", "DSCB"}},
        {"CONFIGURATIONS",
         "CCFG",
         {"DSCA", "OFBP", "BPDS", "CWOC", "DCWC", "CSAR", "TECR", "CCNT", "CADR", "DADD"},
         true},
        {"OBJECTS", "CROB", {"DSCA", "EMNO", "LOCI", "CDEL", "CCNT"}, true},
    };
    return tables;
}

const TableLayout* findClientTable(std::string_view table) {
    for (const TableLayout& layout : clientTables())
        if (layout.table == table) return &layout;
    return nullptr;
}

const std::vector<TableLayout>& serverOnlyTables() {
    static const std::vector<TableLayout> tables = {
        {"DEPARTMENTS", "CWOC", {"DSCA"}},
        {"LABORRATES", "CLRT", {"DSCA"}},
        {"BUSINESSPARTNERS", "BPID", {"NAMA"}},
        {"GENERALITEMDATA", "ITEM", {"DSCA"}},
    };
    return tables;
}

}  // namespace masterdata_file
