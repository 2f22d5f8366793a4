// The methods of Client20 implemented in this folder.
#include "component/core/method_bindings.h"
#include "component/errors/completed_orders.h"
#include "component/errors/download_errors.h"
#include "component/errors/error_pool_views.h"

namespace quillmere {

void BindErrorMethods(MethodHandlers& h) {
    using Args = std::vector<Variant>;
    Bind(h, "ShowErrorPool", [](Session& s, Args&) { return Variant::text(ShowErrorPool(s)); });
    Bind(h, "ShowErrorList", [](Session& s, Args&) { return Variant::text(ShowErrorList(s)); });
    Bind(h, "StroreErrorOrders", [](Session& s, Args&) { return StroreErrorOrders(s); });
    Bind(h, "deleteCompletedOrders",
         [](Session& s, Args& a) { return deleteCompletedOrders(s, a[0].asText()); });
    Bind(h, "DownloadErrors",
         [](Session& s, Args& a) { return Variant::text(DownloadErrors(s, a[0].asText())); });
}

}  // namespace quillmere
