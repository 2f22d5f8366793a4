#include "component/core/method_table.h"

#include "platform/machine_root.h"

namespace quillmere {

namespace {

constexpr ParamType S = ParamType::String;
constexpr ParamType I = ParamType::Int16;
constexpr ParamType V = ParamType::Variant;
constexpr ResultType RS = ResultType::String;
constexpr ResultType RV = ResultType::Variant;
constexpr ResultType RB = ResultType::Boolean;
constexpr StateAccess kNoState = StateAccess::None;
constexpr StateAccess kReads = StateAccess::Reads;
constexpr StateAccess kChanges = StateAccess::Changes;

std::vector<MethodDeclaration> buildDeclarations() {
    const std::vector<ParameterDeclaration> none;
    const std::vector<ParameterDeclaration> detailParams = {
        {"iObject", S}, {"iOrno", S}, {"iAcln", S}, {"iLine", S}, {"iXML", S}, {"iError", I}};
    const std::vector<ParameterDeclaration> formParams = {
        {"iObject", S}, {"iOrno", S}, {"iAcln", S}};
    const std::vector<ParameterDeclaration> costListParams = {
        {"iCostType", S}, {"iorder", S}, {"iActivity", S}};
    return {
        {0, "Initialize", none, RV, kChanges},
        {1, "SaveWebPage", {{"iHtml", S}}, RV, kChanges},
        {2, "MyActivities", {{"iXML", S}}, RS, kReads},
        {3, "completedAgenda", none, RS, kReads},
        {4, "canceledAgenda", none, RS, kReads},
        {5, "DownloadXml", {{"iXML", S}}, RS, kChanges},
        {6, "updatexml", {{"iXML", S}}, RS, kChanges},
        {7, "AddXml", {{"iXML", S}}, RS, kChanges},
        {8, "GetDetails", detailParams, RS, kReads},
        {9, "CreateForm", formParams, RS, kReads},
        {10, "CreateXMLStringForUpdate", none, RS, kChanges},
        {11, "DownloadErrors", {{"iXML", S}}, RS, kChanges},
        {12, "ShowErrorPool", none, RS, kReads},
        {13, "ShowErrorList", none, RS, kReads},
        {14, "ListCostLines", costListParams, RS, kReads},
        {15,
         "deleteNode",
         {{"iorder", V}, {"iActivity", V}, {"iLine", V}, {"iCostType", V}},
         RV,
         kChanges},
        {16, "ListOrders", none, RS, kReads},
        {17, "Get_Error", none, RS, kNoState},
        {18, "SetCurrentmdb", {{"iFName", S, true}}, RV, kNoState},
        {19, "GetVariable", {{"iVar", S}}, RS, kNoState},
        {20, "SetODBCDataBase", {{"iName", S, true}}, RV, kNoState},
        {21, "RegisterDownloadPath", none, RV, kNoState},
        {22, "LocalXmlExists", none, RB, kReads},
        {23, "FMapperXMLExists", none, RB, kReads},
        {24, "getFMapper", {{"iXML", S}, {"iOverwrite", S}}, RV, kChanges},
        {25, "Set_Mode", {{"iMode", S}}, RV, kNoState},
        {26,
         "HyperLinkAndZoom",
         {{"iMode", I}, {"iXmlTag", S}, {"iValue", S}, {"iFormName", S}},
         RS,
         kReads},
        {28, "OpenDataBase", none, RV, kNoState},
        {29, "CloseDataBase", none, RV, kNoState},
        {30, "MasterData", {{"iCode", S}}, RS, kReads},
        {31, "ExplodeZip", {{"iFileName", S}}, RV, kNoState},
        {32, "CreateMaterialForm", none, RS, kReads},
        {33, "BuildCostLines", {{"icType", S}, {"iOrno", S}, {"iAcln", S}}, RS, kReads},
        {34, "CostLinesHeader", {{"iOrno", S}, {"iAcln", S}}, RS, kReads},
        {35, "NewObject", formParams, RS, kReads},
        {36, "CreateOrderDropDown", none, RS, kReads},
        {37, "CreateActivityDropDown", {{"iorder", S}}, RS, kReads},
        {38, "SaveHra", {{"iXML", S}}, RS, kChanges},
        {39, "StroreErrorOrders", none, RV, kReads},
        {40, "deleteCompletedOrders", {{"iXML", S}}, RV, kChanges},
        {41, "GetI18NString", {{"label", S}}, RS, kReads},
        {42, "Synchronize_MasterData", {{"iXML", S}}, RS, kNoState},
        {43, "CreateFormforHra", formParams, RS, kReads},
        {44, "ListHRALines", costListParams, RS, kReads},
        {45, "GetDetailsForHRA", detailParams, RS, kReads},
        {46, "getColumnHeadingsForHRA", {{"iCols", I, true}, {"iBoiTag", S}}, RS, kReads},
        {47, "GetMailContent", {{"iWhat", S}}, RV, kReads},
        {48, "SetHomePage", none, RV, kChanges},
        {49, "ViewOrders_W", none, RS, kReads},
        {50, "ViewOrders_SI", none, RS, kReads},
        {51, "ViewActivities_W", none, RS, kReads},
        {52, "ViewActivities_SI", none, RS, kReads},
        {53, "ViewCostLines_W", {{"iCostType", S}}, RS, kReads},
        {54, "ViewCostLines_SI", {{"iCostType", S}}, RS, kReads},
        {55, "ViewHra_W", none, RS, kReads},
        {56, "ViewHra_SI", none, RS, kReads},
        {57, "CompleteOrder", none, RV, kChanges},
    };
}

}  // namespace

const std::vector<MethodDeclaration>& methodDeclarations() {
    static const std::vector<MethodDeclaration> declarations = buildDeclarations();
    return declarations;
}

const MethodDeclaration* findMethod(std::string_view name) {
    for (const MethodDeclaration& method : methodDeclarations())
        if (platform::equalsIgnoreCase(method.name, name)) return &method;
    return nullptr;
}

const MethodDeclaration* findMethod(int32_t dispId) {
    for (const MethodDeclaration& method : methodDeclarations())
        if (method.dispId() == dispId) return &method;
    return nullptr;
}

}  // namespace quillmere
