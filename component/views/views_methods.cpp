// The methods of Client20 implemented in this folder.
#include "component/core/method_bindings.h"
#include "component/views/agenda.h"
#include "component/views/cost_line_lists.h"
#include "component/views/field_mapper_file.h"
#include "component/views/hra_lists.h"
#include "component/views/order_lists.h"

namespace quillmere {

void BindViewMethods(MethodHandlers& h) {
    using Args = std::vector<Variant>;
    Bind(h, "FMapperXMLExists",
         [](Session& s, Args&) { return Variant::boolean(FMapperXMLExists(s)); });
    Bind(h, "MyActivities",
         [](Session& s, Args& a) { return Variant::text(MyActivities(s, a[0].asText())); });
    Bind(h, "completedAgenda", [](Session& s, Args&) { return Variant::text(completedAgenda(s)); });
    Bind(h, "canceledAgenda", [](Session& s, Args&) { return Variant::text(canceledAgenda(s)); });
    Bind(h, "ListOrders", [](Session& s, Args&) { return Variant::text(ListOrders(s)); });
    Bind(h, "ViewOrders_W", [](Session& s, Args&) { return Variant::text(ViewOrders_W(s)); });
    Bind(h, "ViewOrders_SI", [](Session& s, Args&) { return Variant::text(ViewOrders_SI(s)); });
    Bind(h, "ViewActivities_W",
         [](Session& s, Args&) { return Variant::text(ViewActivities_W(s)); });
    Bind(h, "ViewActivities_SI",
         [](Session& s, Args&) { return Variant::text(ViewActivities_SI(s)); });
    Bind(h, "CostLinesHeader", [](Session& s, Args& a) {
        return Variant::text(CostLinesHeader(s, a[0].asText(), a[1].asText()));
    });
    Bind(h, "BuildCostLines", [](Session& s, Args& a) {
        return Variant::text(BuildCostLines(s, a[0].asText(), a[1].asText(), a[2].asText()));
    });
    Bind(h, "ListCostLines", [](Session& s, Args& a) {
        return Variant::text(ListCostLines(s, a[0].asText(), a[1].asText(), a[2].asText()));
    });
    Bind(h, "ViewCostLines_W",
         [](Session& s, Args& a) { return Variant::text(ViewCostLines_W(s, a[0].asText())); });
    Bind(h, "ViewCostLines_SI",
         [](Session& s, Args& a) { return Variant::text(ViewCostLines_SI(s, a[0].asText())); });
    Bind(h, "ListHRALines", [](Session& s, Args& a) {
        return Variant::text(ListHRALines(s, a[0].asText(), a[1].asText(), a[2].asText()));
    });
    Bind(h, "ViewHra_W", [](Session& s, Args&) { return Variant::text(ViewHra_W(s)); });
    Bind(h, "ViewHra_SI", [](Session& s, Args&) { return Variant::text(ViewHra_SI(s)); });
    Bind(h, "getColumnHeadingsForHRA", [](Session& s, Args& a) {
        int16_t columns = a[0].asInt16();
        std::string headings = getColumnHeadingsForHRA(s, columns, a[1].asText());
        a[0] = Variant::int16(columns);
        return Variant::text(std::move(headings));
    });
    Bind(h, "getFMapper",
         [](Session& s, Args& a) { return getFMapper(s, a[0].asText(), a[1].asText()); });
}

}  // namespace quillmere
