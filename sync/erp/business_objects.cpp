#include "sync/erp/business_objects.h"

#include "platform/machine_root.h"

namespace brindlemoor::erp {

const std::vector<BusinessObjectFields>& businessObjects() {
    static const std::vector<BusinessObjectFields> objects = {
        {"PROBLEMS", {{"getProblem", "cprl"}, {"getDescription", "desc"}}},
        {"SOLUTIONS", {{"getSolution", "cstn"}, {"getDescription", "desc"}}},
        {"ADDRESSES",
         {{"getAddressCode", "cadr"},
          {"getName", "nama"},
          {"getName2", "namb"},
          {"getAddress", "namc"},
          {"getAddress2", "namd"},
          {"getHouseNumber", "hono"},
          {"getPOBoxNumber", "pobn"},
          {"getCity", "name"},
          {"getCity2", "namf"},
          {"getZIPCodePostalCode", "pstc"},
          {"getTelephone", "telp"},
          {"getTelex", "telx"},
          {"getFax", "tefx"},
          {"getCountry", "ccty"},
          {"getStateProvince", "cste"}}},
        {"COSTCOMPONENTS",
         {{"getCostComponent", "cpcp"}, {"getDescription", "dsca"}, {"getCostType", "cref"}}},
        {"WAREHOUSES",
         {{"getWarehouse", "cwar"}, {"getDescription", "dsca"}, {"getAddressCode", "cadr"}}},
        {"DEPARTMENTS", {{"getDepartment", "cwoc"}, {"getDescription", "dsca"}}},
        {"LABORRATES", {{"getLaborRate", "clrt"}, {"getDescription", "desc"}}},
        {"BUSINESSPARTNERS", {{"getBusinessPartner", "bpid"}, {"getName", "nama"}}},
        {"GENERALITEMDATA", {{"getItem", "item"}, {"getDescription", "dsca"}}},
        {"HOURLYLABORTYPE", {{"getHourlyLaborType", "chlt"}, {"getDescription", "desc"}}},
        {"SERVICEAREAS",
         {{"getServiceArea", "csar"},
          {"getDescription", "desc"},
          {"getMainServiceArea", "cmsa"},
          {"getServiceCenter", "cwoc"},
          {"getWarehouse", "cwar"}}},
        {"SERVICETYPES",
         {{"getServiceType", "cstp"}, {"getDescription", "desc"}, {"getServiceProcedure", "proc"}}},
        {"CONTACTS",
         {{"getContactCode", "ccnt"},
          {"getTitle", "ctit"},
          {"getInitials", "init"},
          {"getBeforeSurname", "inse"},
          {"getSurname", "surn"},
          {"getSuffix", "post"},
          {"getFirstName", "chrn"},
          {"getTelephone", "telp"},
          {"getDirectDial", "teld"},
          {"getFax", "tefx"},
          {"getLanguage", "clan"},
          {"getEMail", "info"}}},
        {"PRIORITIES", {{"getPriority", "prio"}, {"getDescription", "dsca"}}},
        {"REASONS", {{"getReason", "cdis"}, {"getDescription", "dsca"}, {"getReasonType", "rstp"}}},
        {"UNITS",
         {{"getUnit", "cuni"}, {"getDescription", "dsca"}, {"getPhysicalQuantity", "tccu"}}},
        {"REFERENCEACTIVITIES",
         {{"getReferenceActivity", "crac"},
          {"getDescription", "desc"},
          {"getProblem", "cprl"},
          {"getSolution", "cstn"}}},
        {"TASKS",
         {{"getTask", "ctsk"},
          {"getDescription", "desc"},
          {"getLaborRate", "clrt"},
          {"getCostComponent", "cpcp"}}},
        {"SERVICECAR",
         {{"getServiceCar", "ccar"}, {"getDescription", "desc"}, {"getWarehouse", "cwar"}}},
        {"SERVICECENTERS",
         {{"getServiceCenter", "cwoc"}, {"getWarehouse", "cwar"}, {"getLaborRate", "clrt"}}},
        {"SERVICEITEMS", {{"getItem", "item"}}},
        {"SERVICEKITS",
         {{"getServiceKit", "cskt"}, {"getDescription", "desc"}, {"getWarehouse", "cwar"}}},
        {"CONFIGURATIONS",
         {{"getConfiguration", "ccfg"},
          {"getConfigurationDescription", "desc"},
          {"getSoldToBusinessPartner", "ofbp"},
          {"getServiceCenter", "cwoc"},
          {"getServiceArea", "csar"},
          {"getResponsibleEngineer", "tecr"},
          {"getContactPerson", "ccnt"},
          {"getLocationAddress", "cadr"}}},
        {"OBJECTS",
         {{"getConfiguration", "ccfg"},
          {"GetObject", "crob"},
          {"getObjectNumber", "oseq"},
          {"getDescription", "desc"},
          {"getPreferredServiceEngineer", "emno"},
          {"getLocationAddress", "loci"},
          {"getLocationDescription", "cdel"},
          {"getContact", "ccnt"}}},
    };
    return objects;
}

const BusinessObjectFields* findBusinessObject(std::string_view name) {
    for (const BusinessObjectFields& object : businessObjects()) {
        if (platform::equalsIgnoreCase(object.name, name)) return &object;
    }
    return nullptr;
}

std::string_view fieldOfMember(const BusinessObjectFields& object, std::string_view member) {
    for (const MemberField& entry : object.members) {
        if (platform::equalsIgnoreCase(entry.member, member)) return entry.field;
    }
    return {};
}

}  // namespace brindlemoor::erp
