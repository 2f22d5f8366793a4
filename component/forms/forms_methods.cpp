// The methods of Client20 implemented in this folder.
#include "component/core/method_bindings.h"
#include "component/forms/detail_view.h"
#include "component/forms/entry_forms.h"
#include "component/forms/hra_forms.h"
#include "component/forms/material_form.h"

namespace quillmere {

void BindFormMethods(MethodHandlers& h) {
    using Args = std::vector<Variant>;
    Bind(h, "CreateForm", [](Session& s, Args& a) {
        return Variant::text(CreateForm(s, a[0].asText(), a[1].asText(), a[2].asText()));
    });
    Bind(h, "NewObject", [](Session& s, Args& a) {
        return Variant::text(NewObject(s, a[0].asText(), a[1].asText(), a[2].asText()));
    });
    Bind(h, "GetDetailsForHRA", [](Session& s, Args& a) {
        return Variant::text(GetDetailsForHRA(s, a[0].asText(), a[1].asText(), a[2].asText(),
                                              a[3].asText(), a[4].asText(), a[5].asInt16()));
    });
    Bind(h, "CreateFormforHra", [](Session& s, Args& a) {
        return Variant::text(CreateFormforHra(s, a[0].asText(), a[1].asText(), a[2].asText()));
    });
    Bind(h, "CreateMaterialForm",
         [](Session& s, Args&) { return Variant::text(CreateMaterialForm(s)); });
    Bind(h, "CreateOrderDropDown",
         [](Session& s, Args&) { return Variant::text(CreateOrderDropDown(s)); });
    Bind(h, "CreateActivityDropDown", [](Session& s, Args& a) {
        return Variant::text(CreateActivityDropDown(s, a[0].asText()));
    });
    Bind(h, "GetDetails", [](Session& s, Args& a) {
        return Variant::text(GetDetails(s, a[0].asText(), a[1].asText(), a[2].asText(),
                                        a[3].asText(), a[4].asText(), a[5].asInt16()));
    });
}

}  // namespace quillmere
