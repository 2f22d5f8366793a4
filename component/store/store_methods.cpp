// The methods of Client20 implemented in this folder.
#include "component/core/method_bindings.h"
#include "component/store/add_records.h"
#include "component/store/delete_records.h"
#include "component/store/download_xml.h"
#include "component/store/hours_registrations.h"
#include "component/store/update_records.h"
#include "component/store/upload_document.h"

namespace quillmere {

void BindStoreMethods(MethodHandlers& h) {
    using Args = std::vector<Variant>;
    Bind(h, "DownloadXml",
         [](Session& s, Args& a) { return Variant::text(DownloadXml(s, a[0].asText())); });
    Bind(h, "updatexml",
         [](Session& s, Args& a) { return Variant::text(updatexml(s, a[0].asText())); });
    Bind(h, "AddXml", [](Session& s, Args& a) { return Variant::text(AddXml(s, a[0].asText())); });
    Bind(h, "deleteNode", [](Session& s, Args& a) {
        return deleteNode(s, a[0].asText(), a[1].asText(), a[2].asText(), a[3].asText());
    });
    Bind(h, "CompleteOrder", [](Session& s, Args&) { return CompleteOrder(s); });
    Bind(h, "CreateXMLStringForUpdate",
         [](Session& s, Args&) { return Variant::text(CreateXMLStringForUpdate(s)); });
    Bind(h, "SaveHra",
         [](Session& s, Args& a) { return Variant::text(SaveHra(s, a[0].asText())); });
}

}  // namespace quillmere
