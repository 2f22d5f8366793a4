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

std::vector<MethodDeclaration> buildDeclarations() {
    const std::vector<ParameterDeclaration> none;
    const std::vector<ParameterDeclaration> detailParams = {
        {"iObject", S}, {"iOrno", S}, {"iAcln", S}, {"iLine", S}, {"iXML", S}, {"iError", I}};
    const std::vector<ParameterDeclaration> formParams = {
        {"iObject", S}, {"iOrno", S}, {"iAcln", S}};
    const std::vector<ParameterDeclaration> costListParams = {
        {"iCostType", S}, {"iorder", S}, {"iActivity", S}};
    return {
        {0, "Initialize", none, RV},
        {1, "SaveWebPage", {{"iHtml", S}}, RV},
        {2, "MyActivities", {{"iXML", S}}, RS},
        {3, "completedAgenda", none, RS},
        {4, "canceledAgenda", none, RS},
        {5, "DownloadXml", {{"iXML", S}}, RS},
        {6, "updatexml", {{"iXML", S}}, RS},
        {7, "AddXml", {{"iXML", S}}, RS},
        {8, "GetDetails", detailParams, RS},
        {9, "CreateForm", formParams, RS},
        {10, "CreateXMLStringForUpdate", none, RS},
        {11, "DownloadErrors", {{"iXML", S}}, RS},
        {12, "ShowErrorPool", none, RS},
        {13, "ShowErrorList", none, RS},
        {14, "ListCostLines", costListParams, RS},
        {15, "deleteNode", {{"iorder", V}, {"iActivity", V}, {"iLine", V}, {"iCostType", V}}, RV},
        {16, "ListOrders", none, RS},
        {17, "Get_Error", none, RS},
        {18, "SetCurrentmdb", {{"iFName", S, true}}, RV},
        {19, "GetVariable", {{"iVar", S}}, RS},
        {20, "SetODBCDataBase", {{"iName", S, true}}, RV},
        {21, "RegisterDownloadPath", none, RV},
        {22, "LocalXmlExists", none, RB},
        {23, "FMapperXMLExists", none, RB},
        {24, "getFMapper", {{"iXML", S}, {"iOverwrite", S}}, RV},
        {25, "Set_Mode", {{"iMode", S}}, RV},
        {26,
         "HyperLinkAndZoom",
         {{"iMode", I}, {"iXmlTag", S}, {"iValue", S}, {"iFormName", S}},
         RS},
        {28, "OpenDataBase", none, RV},
        {29, "CloseDataBase", none, RV},
        {30, "MasterData", {{"iCode", S}}, RS},
        {31, "ExplodeZip", {{"iFileName", S}}, RV},
        {32, "CreateMaterialForm", none, RS},
        {33, "BuildCostLines", {{"icType", S}, {"iOrno", S}, {"iAcln", S}}, RS},
        {34, "CostLinesHeader", {{"iOrno", S}, {"iAcln", S}}, RS},
        {35, "NewObject", formParams, RS},
        {36, "CreateOrderDropDown", none, RS},
        {37, "CreateActivityDropDown", {{"iorder", S}}, RS},
        {38, "SaveHra", {{"iXML", S}}, RS},
        {39, "StroreErrorOrders", none, RV},
        {40, "deleteCompletedOrders", {{"iXML", S}}, RV},
        {41, "GetI18NString", {{"label", S}}, RS},
        {42, "Synchronize_MasterData", {{"iXML", S}}, RS},
        {43, "CreateFormforHra", formParams, RS},
        {44, "ListHRALines", costListParams, RS},
        {45, "GetDetailsForHRA", detailParams, RS},
        {46, "getColumnHeadingsForHRA", {{"iCols", I, true}, {"iBoiTag", S}}, RS},
        {47, "GetMailContent", {{"iWhat", S}}, RV},
        {48, "SetHomePage", none, RV},
        {49, "ViewOrders_W", none, RS},
        {50, "ViewOrders_SI", none, RS},
        {51, "ViewActivities_W", none, RS},
        {52, "ViewActivities_SI", none, RS},
        {53, "ViewCostLines_W", {{"iCostType", S}}, RS},
        {54, "ViewCostLines_SI", {{"iCostType", S}}, RS},
        {55, "ViewHra_W", none, RS},
        {56, "ViewHra_SI", none, RS},
        {57, "CompleteOrder", none, RV},
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
