#include "sync/core/transfer_particulars.h"

namespace brindlemoor {

namespace {

// The upper bounds of the item parameters: nine blanks (the project segment) and letters z.
constexpr std::string_view kServiceItemsTo =
    "         zzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzz";
constexpr std::string_view kGeneralItemsTo = "         zzzzzzzzzzzzzz";

ColumnSource member(std::string_view column, std::string_view member) {
    ColumnSource source;
    source.kind = ColumnSource::Kind::Member;
    source.column = column;
    source.member = member;
    return source;
}

ColumnSource enumeration(std::string_view column, std::string_view member, Enumeration values) {
    ColumnSource source = brindlemoor::member(column, member);
    source.kind = ColumnSource::Kind::Enumeration;
    source.enumeration = values;
    return source;
}

// The description of the code in `codeColumn` (empty: the row's key), read from `table`.
ColumnSource lookup(std::string_view column, std::string_view table, std::string_view keyColumn,
                    std::string_view codeColumn, bool onlyForCode = false) {
    ColumnSource source;
    source.kind = ColumnSource::Kind::Lookup;
    source.column = column;
    source.lookupTable = table;
    source.lookupKeyColumn = keyColumn;
    source.codeColumn = codeColumn;
    source.onlyForCode = onlyForCode;
    return source;
}

std::vector<TransferParticulars> build() {
    std::vector<TransferParticulars> all;
    auto add = [&all](TransferParticulars transfer) { all.push_back(std::move(transfer)); };

    add({.name = "get_Problems",
         .table = "PROBLEMS",
         .keyParameters = {{"cprl", "", "zzzzzzzzzz"}},
         .outputFields = {"cprl", "desc"},
         .keyMembers = {"getProblem"},
         .keyColumns = {"CPRL"},
         .columns = {member("DSCA", "getDescription")},
         .captionPosition = 26,
         .dots = "......",
         .logCaption = "PROBLEMS: "});
    add({.name = "get_Solutions",
         .table = "SOLUTIONS",
         .keyParameters = {{"cstn", "", "zzzzzzzzzz"}},
         .outputFields = {"cstn", "desc"},
         .keyMembers = {"getSolution"},
         .keyColumns = {"CSTN"},
         .columns = {member("DSCA", "getDescription")},
         .captionPosition = 27,
         .dots = ".......",
         .logCaption = "SOLUTIONS : "});
    add({.name = "get_Addresses",
         .table = "ADDRESSES",
         .keyParameters = {{"cadr", "", "zzzzzzzzz"}},
         .fieldsWithOldValue = {"namb", "namc", "namd", "hono", "pobn", "name", "namf", "pstc",
                                "telp", "telx", "tefx", "cste"},
         .outputFields = {"cadr", "nama", "namb", "namc", "namd", "hono", "pobn", "name", "namf",
                          "pstc", "telp", "telx", "tefx", "ccty", "cste"},
         .keyMembers = {"getAddressCode"},
         .keyColumns = {"CADR"},
         .columns = {member("NAMA", "getName"), member("NAMB", "getName2"),
                     member("NAMC", "getAddress"), member("NAMD", "getAddress2"),
                     member("HONO", "getHouseNumber"), member("POBN", "getPOBoxNumber"),
                     member("NAME", "getCity"), member("NAMF", "getCity2"),
                     member("PSTC", "getZIPCodePostalCode"), member("TELP", "getTelephone"),
                     member("TELX", "getTelex"), member("TEFX", "getFax"),
                     member("CCTY", "getCountry"), member("CSTE", "getStateProvince")},
         .captionPosition = 15,
         .dots = ".......",
         .logCaption = "ADDRESSES: "});
    add({.name = "get_CostComponents",
         .table = "COSTCOMPONENTS",
         .keyParameters = {{"cpcp", "", "zzzzzzzz"}},
         .fieldsWithOldValue = {"dsca"},
         .outputFields = {"cpcp", "dsca", "cref"},
         .keyMembers = {"getCostComponent"},
         .keyColumns = {"CPCP"},
         .columns = {member("DSCA", "getDescription"),
                     enumeration("CREF", "getCostType", Enumeration::CostType)},
         .captionPosition = 20,
         .dots = ".......",
         .logCaption = "COSTCOMPONENTS: "});
    add({.name = "get_Warehouses",
         .table = "WAREHOUSES",
         .keyParameters = {{"cwar", "", "zzzzzz"}},
         .fieldsWithOldValue = {"dsca"},
         .outputFields = {"cwar", "dsca", "cadr"},
         .keyMembers = {"getWarehouse"},
         .keyColumns = {"CWAR"},
         .columns = {member("DSCA", "getDescription"), member("CADR", "getAddressCode"),
                     lookup("DADD", "ADDRESSES", "CADR", "CADR")},
         .captionPosition = 24,
         .dots = ".......",
         .logCaption = "WAREHOUSES : "});
    add({.name = "TransferDepartments",
         .table = "DEPARTMENTS",
         .toClients = false,
         .keyParameters = {{"cwoc", "", "zzzzzz"}},
         .fieldsWithOldValue = {"dsca"},
         .outputFields = {"cwoc", "dsca"},
         .keyMembers = {"getDepartment"},
         .keyColumns = {"CWOC"},
         .columns = {member("DSCA", "getDescription")},
         .propagation = Propagation::DepartmentDescription,
         .logCaption = "DEPARTMENTS: "});
    add({.name = "TransferLaborRates",
         .table = "LABORRATES",
         .toClients = false,
         .keyParameters = {{"clrt", "", "zzzzzz"}},
         .outputFields = {"clrt", "desc"},
         .keyMembers = {"getLaborRate"},
         .keyColumns = {"CLRT"},
         .columns = {member("DSCA", "getDescription")},
         .propagation = Propagation::LaborRateDescription,
         .logCaption = "LABOR RATES: "});
    add({.name = "TransferBusinessPartners",
         .table = "BUSINESSPARTNERS",
         .toClients = false,
         .keyParameters = {{"bpid", "", "zzzzzzzzz"}},
         .outputFields = {"nama", "nama"},
         .keyMembers = {"getBusinessPartner"},
         .keyColumns = {"BPID"},
         .columns = {member("NAMA", "getName")},
         .propagation = Propagation::BusinessPartnerName,
         .logCaption = "BUSINESSPARTNERS: "});
    add({.name = "TransferGeneralItemData",
         .table = "GENERALITEMDATA",
         .toClients = false,
         .keyParameters = {{"item", "", kGeneralItemsTo}},
         .fieldsWithOldValue = {"dsca"},
         .outputFields = {"item", "dsca"},
         .keyMembers = {"getItem"},
         .keyColumns = {"ITEM"},
         .itemKey = true,
         .columns = {member("DSCA", "getDescription")},
         .propagation = Propagation::ItemDescription,
         .logCaption = "GeneralITem Data: "});
    add({.name = "get_HourlyLabortypes",
         .table = "HOURLYLABORTYPE",
         .keyParameters = {{"chlt", "", "zzz"}},
         .outputFields = {"chlt", "desc"},
         .keyMembers = {"getHourlyLaborType"},
         .keyColumns = {"CHLT"},
         .columns = {member("DSCA", "getDescription")},
         .captionPosition = 5,
         .dots = ".......",
         .logCaption = "HOURLYLABORTYPE: "});
    add({.name = "get_ServiceAreas",
         .table = "SERVICEAREAS",
         .keyParameters = {{"csar", "", "zzz"}},
         .fieldsWithOldValue = {"cmsa", "cwoc", "cwar"},
         .outputFields = {"csar", "desc", "cmsa", "cwoc", "cwar"},
         .keyMembers = {"getServiceArea"},
         .keyColumns = {"CSAR"},
         .columns = {member("DSCA", "getDescription"), member("CMSA", "getMainServiceArea"),
                     member("CWOC", "getServiceCenter"), member("CWAR", "getWarehouse")},
         .captionPosition = 7,
         .dots = ".......",
         .logCaption = "SERVICEAREAS: "});
    add({.name = "get_ServiceTypes",
         .table = "SERVICETYPES",
         .keyParameters = {{"cstp", "", "zzz"}},
         .outputFields = {"cstp", "desc", "proc"},
         .keyMembers = {"getServiceType"},
         .keyColumns = {"CSTP"},
         .columns = {member("DSCA", "getDescription"),
                     enumeration("SEPR", "getServiceProcedure", Enumeration::ServiceProcedure)},
         .captionPosition = 2,
         .dots = ".......",
         .logCaption = "SERVICETYPES: "});
    add({.name = "get_Contacts",
         .table = "CONTACTS",
         .keyParameters = {{"ccnt", "", "zzzzzzzzz"}},
         .fieldsWithOldValue = {"ctit", "init", "inse", "surn", "post", "chrn", "telp", "teld",
                                "tefx", "info"},
         .outputFields = {"ccnt", "ctit", "init", "inse", "surn", "post", "chrn", "telp", "teld",
                          "tefx", "clan", "info"},
         .keyMembers = {"getContactCode"},
         .keyColumns = {"CCNT"},
         .columns = {member("CTIT", "getTitle"), member("INIT", "getInitials"),
                     member("INSE", "getBeforeSurname"), member("SURN", "getSurname"),
                     member("POST", "getSuffix"), member("CHRN", "getFirstName"),
                     member("TELP", "getTelephone"), member("TELD", "getDirectDial"),
                     member("TEFX", "getFax"), member("CLAN", "getLanguage"),
                     member("MAIL", "getEMail")},
         .captionPosition = 17,
         .dots = ".......",
         .logCaption = "CONTACTS: "});
    add({.name = "get_Priorities",
         .table = "PRIORITIES",
         .keyParameters = {{"prio", "0", "99"}},
         .fieldsWithOldValue = {"dsca"},
         .outputFields = {"prio", "dsca"},
         .keyMembers = {"getPriority"},
         .keyColumns = {"PRIO"},
         .columns = {member("DSCA", "getDescription")},
         .captionPosition = 21,
         .dots = ".......",
         .logCaption = "PRIORITIES : "});
    add({.name = "get_Reasons",
         .table = "REASONS",
         .keyParameters = {{"cdis", "", "zzzzzz"}},
         .fieldsWithOldValue = {"dsca"},
         .outputFields = {"cdis", "dsca", "rstp"},
         .keyMembers = {"getReason"},
         .keyColumns = {"CDIS"},
         .columns = {member("DSCA", "getDescription"),
                     enumeration("RSTP", "getReasonType", Enumeration::ReasonType)},
         .captionPosition = 22,
         .dots = "...........",
         .logCaption = "REASONS: "});
    add({.name = "get_Units",
         .table = "UNITS",
         .keyParameters = {{"cuni", "", "zzz"}},
         .fieldsWithOldValue = {"dsca"},
         .outputFields = {"cuni", "dsca", "tccu"},
         .keyMembers = {"getUnit"},
         .keyColumns = {"CUNI"},
         .columns = {member("DSCA", "getDescription"),
                     enumeration("TCCU", "getPhysicalQuantity", Enumeration::PhysicalQuantity)},
         .captionPosition = -1,
         .dots = "........",
         .logCaption = "UNITS: "});
    add({.name = "get_ReferenceActivities",
         .table = "REFERENCEACTIVITIES",
         .keyParameters = {{"crac", "", "zzzzzzzz"}},
         .fieldsWithOldValue = {"cprl", "cstn"},
         .outputFields = {"crac", "desc", "cprl", "cstn"},
         .keyMembers = {"getReferenceActivity"},
         .keyColumns = {"CRAC"},
         .columns = {member("DSCA", "getDescription"), member("CPRL", "getProblem"),
                     lookup("PDSC", "PROBLEMS", "CPRL", "CPRL"), member("CSTN", "getSolution"),
                     lookup("SDSC", "SOLUTIONS", "CSTN", "CSTN")},
         .captionPosition = 6,
         .dots = ".......",
         .logCaption = "REFERENCEACTIVITIES: "});
    add({.name = "get_Tasks",
         .table = "TASKS",
         .keyParameters = {{"ctsk", "", "zzzzzzzz"}},
         .fieldsWithOldValue = {"clrt", "cpcp"},
         .outputFields = {"ctsk", "desc", "clrt", "cpcp"},
         .keyMembers = {"getTask"},
         .keyColumns = {"CTSK"},
         .columns = {member("DSCA", "getDescription"), member("CLRT", "getLaborRate"),
                     lookup("DLRT", "LABORRATES", "CLRT", "CLRT"),
                     member("CPCP", "getCostComponent"),
                     lookup("DCMP", "COSTCOMPONENTS", "CPCP", "CPCP")},
         .captionPosition = 13,
         .dots = ".......",
         .logCaption = "TASKS : "});
    add({.name = "get_ServiceCars",
         .table = "SERVICECAR",
         .keyParameters = {{"ccar", "", "zzzzzzzzzz"}},
         .fieldsWithOldValue = {"cwar"},
         .outputFields = {"ccar", "desc", "cwar"},
         .keyMembers = {"getServiceCar"},
         .keyColumns = {"CCAR"},
         .columns = {member("DSCA", "getDescription"), member("CWAR", "getWarehouse"),
                     lookup("DSCB", "WAREHOUSES", "CWAR", "CWAR")},
         .captionPosition = 8,
         .dots = ".......",
         .logCaption = "SERVICECAR : "});
    add({.name = "get_ServiceCenters",
         .table = "SERVICECENTERS",
         .keyParameters = {{"cwoc", "", "zzzzzzzzzz"}},
         .fieldsWithOldValue = {"cwar"},
         .outputFields = {"cwoc", "clrt", "cwar"},
         .keyMembers = {"getServiceCenter"},
         .keyColumns = {"CWOC"},
         .columns = {lookup("DSCA", "DEPARTMENTS", "CWOC", ""), member("CWAR", "getWarehouse"),
                     lookup("DWRH", "WAREHOUSES", "CWAR", "CWAR"), member("CLRT", "getLaborRate"),
                     lookup("DLRT", "LABORRATES", "CLRT", "CLRT")},
         .captionPosition = 9,
         .dots = ".......",
         .logCaption = "SERVICECENTERS : "});
    add({.name = "get_ServiceItems",
         .table = "SERVICEITEMS",
         .keyParameters = {{"item", "", kServiceItemsTo}},
         .outputFields = {"item"},
         .keyMembers = {"getItem"},
         .keyColumns = {"ITEM"},
         .itemKey = true,
         .columns = {lookup("DSCA", "GENERALITEMDATA", "ITEM", "")},
         .captionPosition = 4,
         .dots = ".......",
         .logCaption = "SERVICEITEMS: "});
    add({.name = "get_ServiceKits",
         .table = "SERVICEKITS",
         .keyParameters = {{"cskt", "", "zzzzzz"}},
         .outputFields = {"cskt", "desc", "cwar"},
         .keyMembers = {"getServiceKit"},
         .keyColumns = {"CSKT"},
         .columns = {member("DSCA", "getDescription"), member("CWAR", "getWarehouse"),
                     lookup("DSCB", "WAREHOUSES", "CWAR", "CWAR")},
         .captionPosition = 12,
         .dots = ".......",
         .logCaption = "SERVICEKITS : "});
    add({.name = "get_Configurations",
         .table = "CONFIGURATIONS",
         .keyParameters = {{"ccfg", "", "zzzzzzzz"}},
         .fieldsWithOldValue = {"ofbp", "csar", "tecr", "ccnt", "cadr"},
         .outputFields = {"ccfg", "desc", "ofbp", "cwoc", "csar", "tecr", "ccnt", "cadr"},
         .keyMembers = {"getConfiguration"},
         .keyColumns = {"CCFG"},
         .columns = {member("DSCA", "getConfigurationDescription"),
                     member("OFBP", "getSoldToBusinessPartner"),
                     lookup("BPDS", "BUSINESSPARTNERS", "BPID", "OFBP", true),
                     member("CWOC", "getServiceCenter"),
                     lookup("DCWC", "DEPARTMENTS", "CWOC", "CWOC", true),
                     member("CSAR", "getServiceArea"), member("TECR", "getResponsibleEngineer"),
                     member("CCNT", "getContactPerson"), member("CADR", "getLocationAddress"),
                     lookup("DADD", "ADDRESSES", "CADR", "CADR", true)},
         .split = Split::Configurations,
         .serviceCenterMember = "getServiceCenter",
         .windowSecondsZero = true,
         .captionPosition = 25,
         .dots = "........",
         .logCaption = "CONFIGURATIONS: "});
    add({.name = "get_Objects",
         .table = "OBJECTS",
         .keyParameters = {{"ccfg", "", "zzzzzzzz"},
                           {"crob", "", "ZZZZZZZZZZZZZ"},
                           {"oseq", "0", "99", true}},
         .fieldsWithOldValue = {"emno", "loci", "cdel", "ccnt"},
         .outputFields = {"ccfg", "crob", "oseq", "desc", "emno", "loci", "cdel", "ccnt"},
         .keyMembers = {"getConfiguration", "GetObject", "getObjectNumber"},
         .keyColumns = {"CCFG", "CROB", "OSEQ"},
         .columns = {member("DSCA", "getDescription"),
                     member("EMNO", "getPreferredServiceEngineer"),
                     member("LOCI", "getLocationAddress"), member("CDEL", "getLocationDescription"),
                     member("CCNT", "getContact")},
         .split = Split::Objects,
         .captionPosition = 0,
         .dots = ".......",
         .logCaption = "OBJECTS : "});
    return all;
}

}  // namespace

const std::vector<TransferParticulars>& TransfersInRunOrder() {
    static const std::vector<TransferParticulars> transfers = build();
    return transfers;
}

const TransferParticulars* FindTransfer(std::string_view name) {
    for (const TransferParticulars& transfer : TransfersInRunOrder()) {
        if (transfer.name == name) return &transfer;
    }
    return nullptr;
}

}  // namespace brindlemoor
