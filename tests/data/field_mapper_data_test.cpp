// Checks of the delivered field-definition document data/FieldMapper.xml: its label texts, the
// field definitions of the five record kinds and the master-data column headings, as the
// component's views, forms, validation and lookups read them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <pugixml.hpp>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path kSourceDir = TAVIRO_SOURCE_DIR;
const fs::path kFieldMapperPath = kSourceDir / "data" / "FieldMapper.xml";

const char* const kOrders = "ccsocservcordr";
const char* const kActivities = "ccsocservcactv";
const char* const kMaterial = "ccsocservcmatl";
const char* const kLabor = "ccsocservclabr";
const char* const kOther = "ccsocservcothr";
const char* const kZoomHyperlink = "zoomhyperlink";

const std::vector<std::string> kRecordKinds = {kOrders, kActivities, kMaterial, kLabor, kOther};
const std::vector<std::string> kSevenAttributes = {"LABEL", "DATATYPE",  "MODIFIABLE", "UINTERFACE",
                                                   "ZOOM",  "HYPERLINK", "NEW"};

struct Loaded {
    pugi::xml_document doc;
    pugi::xml_parse_result result;
};

const Loaded& fieldMapper() {
    static const Loaded* loaded = [] {
        auto* l = new Loaded;
        l->result = l->doc.load_file(kFieldMapperPath.c_str());
        return l;
    }();
    return *loaded;
}

// The first element of that name anywhere in the document, as the component finds it.
pugi::xml_node firstElement(const char* name) {
    return fieldMapper().doc.select_node((std::string("//") + name).c_str()).node();
}

std::vector<pugi::xml_node> childElements(pugi::xml_node parent) {
    std::vector<pugi::xml_node> out;
    for (pugi::xml_node child : parent.children()) {
        if (child.type() == pugi::node_element) out.push_back(child);
    }
    return out;
}

std::vector<std::string> fieldNames(const char* kind) {
    std::vector<std::string> names;
    for (pugi::xml_node field : childElements(firstElement(kind))) names.push_back(field.name());
    return names;
}

pugi::xml_node field(const char* kind, const char* name) {
    return firstElement(kind).child(name);
}

class FieldMapperData : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(fieldMapper().result)
            << kFieldMapperPath << ": " << fieldMapper().result.description() << " at offset "
            << fieldMapper().result.offset;
    }
};

TEST_F(FieldMapperData, HoldsTheLabelSectionAndEveryKindBesideIt) {
    ASSERT_TRUE(firstElement("I18N"));
    for (const std::string& kind : kRecordKinds) {
        pugi::xml_node element = firstElement(kind.c_str());
        ASSERT_TRUE(element) << kind;
        EXPECT_FALSE(childElements(element).empty()) << kind;
    }
    ASSERT_TRUE(firstElement(kZoomHyperlink));
}

TEST_F(FieldMapperData, LabelsHaveAUniqueKeyAndAText) {
    const std::regex keyPattern("SL(BEU|BSE|BUE)[0-9]{4}");
    std::set<std::string> keys;
    for (pugi::xml_node label : childElements(firstElement("I18N"))) {
        pugi::xml_attribute id = label.attribute("ID");
        pugi::xml_attribute description = label.attribute("DESCRIPTION");
        ASSERT_TRUE(id) << "label without ID at offset " << label.offset_debug();
        ASSERT_TRUE(description) << id.value() << " has no DESCRIPTION";
        EXPECT_TRUE(std::regex_match(id.value(), keyPattern)) << '"' << id.value() << '"';
        EXPECT_NE(std::string(description.value()).find_first_not_of(' '), std::string::npos)
            << id.value() << " has an empty text";
        EXPECT_TRUE(keys.insert(id.value()).second) << id.value() << " is defined twice";
    }
    EXPECT_FALSE(keys.empty());
}

// The component is written alongside this document: every key that its code names as a
// string literal must have a text, or the screen shows an empty caption or message.
TEST_F(FieldMapperData, EveryLabelKeyNamedInTheComponentHasAText) {
    std::set<std::string> defined;
    for (pugi::xml_node label : childElements(firstElement("I18N"))) {
        defined.insert(label.attribute("ID").value());
    }

    const std::regex literal("\"(SL(?:BEU|BSE|BUE)[0-9]{4})\"");
    std::map<std::string, std::string> missing;  // key -> first place that uses it
    const fs::path componentDir = kSourceDir / "component";
    ASSERT_TRUE(fs::is_directory(componentDir)) << componentDir;
    for (const auto& entry : fs::recursive_directory_iterator(componentDir)) {
        const std::string ext = entry.path().extension().string();
        if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream content;
        content << in.rdbuf();
        const std::string text = content.str();
        for (std::sregex_iterator it(text.begin(), text.end(), literal), end; it != end; ++it) {
            const std::string key = (*it)[1].str();
            if (!defined.count(key)) {
                missing.emplace(key, fs::relative(entry.path(), kSourceDir).string());
            }
        }
    }
    std::string report;
    for (const auto& [key, where] : missing) report += "\n  " + key + " (" + where + ")";
    EXPECT_TRUE(missing.empty()) << "label keys without a text:" << report;
}

TEST_F(FieldMapperData, EveryFieldDefinitionCarriesTheSevenAttributesWithKnownValues) {
    const std::set<std::string> dataTypes = {"s", "t", "e", "u"};
    const std::set<std::string> flags = {"True", "False"};
    const std::set<std::string> places = {"0", "1", "2", "3"};

    std::vector<std::string> kinds = kRecordKinds;
    kinds.push_back(kZoomHyperlink);
    for (const std::string& kind : kinds) {
        std::set<std::string> names;
        for (pugi::xml_node def : childElements(firstElement(kind.c_str()))) {
            const std::string where = kind + "/" + def.name();
            EXPECT_TRUE(names.insert(def.name()).second) << where << " is defined twice";
            for (const std::string& attr : kSevenAttributes) {
                EXPECT_TRUE(def.attribute(attr.c_str())) << where << " lacks " << attr;
            }
            EXPECT_NE(std::string(def.attribute("LABEL").value()), "") << where;
            EXPECT_TRUE(dataTypes.count(def.attribute("DATATYPE").value())) << where;
            EXPECT_TRUE(places.count(def.attribute("UINTERFACE").value())) << where;
            for (const char* attr : {"MODIFIABLE", "ZOOM", "HYPERLINK", "NEW"}) {
                EXPECT_TRUE(flags.count(def.attribute(attr).value())) << where << " " << attr;
            }
        }
    }
}

TEST_F(FieldMapperData, EnumeratedFieldsCarryAValueList) {
    for (const std::string& kind : kRecordKinds) {
        for (pugi::xml_node def : childElements(firstElement(kind.c_str()))) {
            const std::string where = kind + "/" + def.name();
            const bool enumerated = std::string(def.attribute("DATATYPE").value()) == "e";
            std::vector<pugi::xml_node> entries = childElements(def);
            if (!enumerated) {
                EXPECT_TRUE(entries.empty()) << where << " has values but is not enumerated";
                continue;
            }
            EXPECT_FALSE(entries.empty()) << where << " has no values";
            std::set<std::string> codes;
            for (pugi::xml_node entry : entries) {
                ASSERT_TRUE(entry.attribute("Id")) << where;
                ASSERT_TRUE(entry.attribute("Value")) << where;
                EXPECT_TRUE(codes.insert(entry.attribute("Id").value()).second)
                    << where << " repeats code " << entry.attribute("Id").value();
            }
        }
    }
}

// The forms pick status entries by position: a new order preselects entry 0, and an activity
// offers entry 0 and 1 while open, entry 1 when finished and entry 2 when closed.
TEST_F(FieldMapperData, StatusValueListsStandInTheOrderTheFormsUse) {
    auto codes = [](const char* kind, const char* name) {
        std::vector<std::string> out;
        for (pugi::xml_node entry : childElements(field(kind, name))) {
            out.push_back(entry.attribute("Id").value());
        }
        return out;
    };
    const std::vector<std::string> orderCodes = codes(kOrders, "OrderStatus");
    ASSERT_FALSE(orderCodes.empty());
    EXPECT_EQ(orderCodes[0], "15");
    for (const char* code : {"20", "35"}) {
        EXPECT_NE(std::find(orderCodes.begin(), orderCodes.end(), code), orderCodes.end()) << code;
    }
    const std::vector<std::string> activityCodes = codes(kActivities, "ActivityStatus");
    ASSERT_GE(activityCodes.size(), 3u);
    EXPECT_EQ(activityCodes[0], "15");
    EXPECT_EQ(activityCodes[1], "20");
    EXPECT_EQ(activityCodes[2], "35");
}

TEST_F(FieldMapperData, FieldsStandAtThePositionsTheStoreAndViewsRelyOn) {
    const std::vector<std::string> orders = fieldNames(kOrders);
    ASSERT_GE(orders.size(), 23u) << "the server's closing writes order fields 21 and 22";
    EXPECT_EQ(orders[0], "OrderStatus");

    const std::vector<std::string> activities = fieldNames(kActivities);
    ASSERT_GE(activities.size(), 2u);
    EXPECT_EQ(activities[0], "ActivityStatus");
    EXPECT_EQ(activities[1], "ActivityDescription");

    const std::vector<std::string> labor = fieldNames(kLabor);
    ASSERT_GE(labor.size(), 9u);
    EXPECT_EQ(labor[0], "ServiceOrder");
    EXPECT_EQ(labor[1], "Activity");
    EXPECT_EQ(labor[8], "StartDate");
    EXPECT_EQ(std::string(field(kLabor, "StartDate").attribute("DATATYPE").value()), "u");
    // A new hours registration shows only these fields; the hours are a number, not a date.
    for (const char* name : {"CostComponent", "Task", "HourlyLaborType", "EndDate"}) {
        EXPECT_TRUE(field(kLabor, name)) << name;
    }
    EXPECT_EQ(std::string(field(kLabor, "EndDate").attribute("DATATYPE").value()), "s");
}

// A new record's form carries every field; the fields not marked NEW go as empty values, so a
// field that the validation requires must be offered on new records.
TEST_F(FieldMapperData, RequiredFieldsAreOfferedOnNewRecords) {
    const std::map<std::string, std::vector<std::string>> required = {
        {kOrders, {"OrderDate", "Description", "Configuration"}},
        {kActivities,
         {"ActivityDescription", "ReferenceActivity", "PlannedStartTime", "PlannedFinishTime"}},
        {kMaterial, {"ServiceItem", "SalesQuantityUnit", "ActualWarehouse", "ServiceKit"}},
        {kLabor, {"HourlyLaborType", "CostComponent", "StartDate", "EndDate"}},
        {kOther, {"CostComponent"}},
    };
    // Rules that hold in every kind where such a field appears.
    const std::set<std::string> requiredAnywhere = {"Description", "ActivityDescription",
                                                    "ReferenceActivity", "HourlyLaborType",
                                                    "CostComponent"};
    for (const auto& [kind, names] : required) {
        for (const std::string& name : names) {
            pugi::xml_node def = field(kind.c_str(), name.c_str());
            ASSERT_TRUE(def) << kind << "/" << name;
            EXPECT_EQ(std::string(def.attribute("NEW").value()), "True") << kind << "/" << name;
        }
    }
    for (const std::string& kind : kRecordKinds) {
        for (pugi::xml_node def : childElements(firstElement(kind.c_str()))) {
            if (!requiredAnywhere.count(def.name())) continue;
            EXPECT_EQ(std::string(def.attribute("NEW").value()), "True")
                << kind << "/" << def.name();
        }
    }
}

// The checks of an update read the order status and the activity's configuration from the
// request itself, so both must be rendered as inputs in the detail view.
TEST_F(FieldMapperData, ValidationContextFieldsTravelWithUpdates) {
    pugi::xml_node status = field(kOrders, "OrderStatus");
    EXPECT_EQ(std::string(status.attribute("MODIFIABLE").value()), "True");
    const std::string statusPlace = status.attribute("UINTERFACE").value();
    EXPECT_TRUE(statusPlace == "2" || statusPlace == "3") << statusPlace;

    pugi::xml_node configuration = field(kActivities, "Configuration");
    ASSERT_TRUE(configuration);
    const std::string place = configuration.attribute("UINTERFACE").value();
    EXPECT_TRUE(place == "2" || place == "3") << place;
    EXPECT_EQ(std::string(configuration.attribute("DATATYPE").value()), "s");
    // The activity's configuration precedes its object, which is checked against it.
    const std::vector<std::string> names = fieldNames(kActivities);
    auto at = [&](const char* name) { return std::find(names.begin(), names.end(), name); };
    ASSERT_NE(at("Object"), names.end());
    EXPECT_LT(at("Configuration"), at("Object"));
}

// A zoom or hyperlink on a field that the master-data lookup does not know yields an empty
// panel.
TEST_F(FieldMapperData, ZoomAndHyperlinkFieldsHaveAMasterDataLookup) {
    const std::set<std::string> lookups = {"ReferenceActivity",
                                           "Configuration",
                                           "ServiceType",
                                           "Object",
                                           "OriginalObject",
                                           "NewObject",
                                           "Problem",
                                           "Solution",
                                           "Task",
                                           "CostComponent",
                                           "HourlyLaborType",
                                           "Item",
                                           "ModelItem",
                                           "ServiceCenter",
                                           "InterruptionReason",
                                           "CancelReason",
                                           "SoldtoAddress",
                                           "Address",
                                           "ServiceArea",
                                           "ServiceCar",
                                           "SalesQuantityUnit",
                                           "Unit",
                                           "ProblemPriority",
                                           "SoldtoContact",
                                           "ServiceKit",
                                           "ActualWarehouse"};
    for (const std::string& kind : kRecordKinds) {
        for (pugi::xml_node def : childElements(firstElement(kind.c_str()))) {
            const bool zoom = std::string(def.attribute("ZOOM").value()) == "True";
            const bool link = std::string(def.attribute("HYPERLINK").value()) == "True";
            if (zoom || link) {
                EXPECT_TRUE(lookups.count(def.name())) << kind << "/" << def.name();
            }
        }
    }
}

TEST_F(FieldMapperData, ZoomHyperlinkHeadsEveryMasterDataColumn) {
    const std::map<std::string, std::vector<std::string>> tables = {
        {"PROBLEMS", {"CPRL", "DSCA"}},
        {"SOLUTIONS", {"CSTN", "DSCA"}},
        {"ADDRESSES",
         {"CADR", "NAMA", "NAMB", "NAMC", "NAMD", "HONO", "POBN", "NAME", "NAMF", "PSTC", "TELP",
          "TELX", "TEFX", "CCTY", "CSTE"}},
        {"COSTCOMPONENTS", {"CPCP", "DSCA", "CREF"}},
        {"WAREHOUSES", {"CWAR", "DSCA", "CADR", "DADD"}},
        {"HOURLYLABORTYPE", {"CHLT", "DSCA"}},
        {"SERVICEAREAS", {"CSAR", "DSCA", "CMSA", "CWOC", "CWAR"}},
        {"SERVICETYPES", {"CSTP", "DSCA", "SEPR"}},
        {"CONTACTS",
         {"CCNT", "CTIT", "INIT", "INSE", "SURN", "POST", "CHRN", "TELP", "TELD", "TEFX", "CLAN",
          "MAIL"}},
        {"PRIORITIES", {"PRIO", "DSCA"}},
        {"REASONS", {"CDIS", "DSCA", "RSTP"}},
        {"UNITS", {"CUNI", "DSCA", "TCCU"}},
        {"REFERENCEACTIVITIES", {"CRAC", "DSCA", "CPRL", "PDSC", "CSTN", "SDSC"}},
        {"TASKS", {"CTSK", "DSCA", "CLRT", "DLRT", "CPCP", "DCMP"}},
        {"SERVICECAR", {"CCAR", "DSCA", "CWAR", "DSCB"}},
        {"SERVICECENTERS", {"CWOC", "DSCA", "CWAR", "DWRH", "CLRT", "DLRT"}},
        {"SERVICEITEMS", {"ITEM", "DSCA"}},
        {"SERVICEKITS", {"CSKT", "DSCA", "CWAR", "DSCB"}},
        {"CONFIGURATIONS",
         {"CCFG", "DSCA", "OFBP", "BPDS", "CWOC", "DCWC", "CSAR", "TECR", "CCNT", "CADR", "DADD"}},
        {"OBJECTS", {"CCFG", "CROB", "OSEQ", "DSCA", "EMNO", "LOCI", "CDEL", "CCNT"}},
    };
    pugi::xml_node headings = firstElement(kZoomHyperlink);
    EXPECT_TRUE(headings.child("COMP"));
    for (const auto& [table, columns] : tables) {
        for (const std::string& column : columns) {
            EXPECT_TRUE(headings.child(column.c_str())) << table << "." << column;
        }
    }
}

}  // namespace
