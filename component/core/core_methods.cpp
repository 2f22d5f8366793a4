#include <stdexcept>

#include "component/core/method_bindings.h"
#include "component/core/settings.h"

namespace quillmere {

void Bind(MethodHandlers& handlers, std::string_view name, MethodHandler handler) {
    for (const MethodDeclaration& method : methodDeclarations()) {
        if (method.name == name) {
            handlers[static_cast<size_t>(method.position)] = std::move(handler);
            return;
        }
    }
    throw std::logic_error("no method named " + std::string(name));
}

void BindCoreMethods(MethodHandlers& h) {
    using Args = std::vector<Variant>;
    Bind(h, "SaveWebPage", [](Session& s, Args& a) { return SaveWebPage(s, a[0].asText()); });
    Bind(h, "Get_Error", [](Session& s, Args&) { return Variant::text(Get_Error(s)); });
    Bind(h, "GetVariable",
         [](Session& s, Args& a) { return Variant::text(GetVariable(s, a[0].asText())); });
    Bind(h, "RegisterDownloadPath", [](Session& s, Args&) { return RegisterDownloadPath(s); });
    Bind(h, "LocalXmlExists",
         [](Session& s, Args&) { return Variant::boolean(LocalXmlExists(s)); });
    Bind(h, "Set_Mode", [](Session& s, Args& a) { return Set_Mode(s, a[0].asText()); });
    Bind(h, "GetI18NString",
         [](Session& s, Args& a) { return Variant::text(GetI18NString(s, a[0].asText())); });
    Bind(h, "GetMailContent", [](Session& s, Args& a) { return GetMailContent(s, a[0].asText()); });
    Bind(h, "SetHomePage", [](Session& s, Args&) { return SetHomePage(s); });
}

}  // namespace quillmere
