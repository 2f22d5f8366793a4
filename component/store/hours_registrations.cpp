#include "component/store/hours_registrations.h"

#include "component/core/label_keys.h"
#include "component/core/labels.h"
#include "component/core/last_error.h"
#include "component/store/order_store.h"

namespace quillmere {

namespace xml = platform::xml;

namespace {

void storeRegistration(Session& session, xml::Node registration) {
    const xml::Node container =
        StoreContainer(session.state.orderStore.node(), kHoursRegistrations);
    xml::appendCopy(xml::requireNode(container), registration);
    SaveOrderStore(session);
}

}  // namespace

std::string SaveHra(Session& session, const std::string& iXML) {
    SetLastError(session, kNoError);
    xml::Document request;
    if (iXML.empty()) {
        SetLastError(session, GetLabelText(session, label::kDataNotStored));
    } else if (!request.parse(iXML)) {
        SetLastError(session, GetLabelText(session, label::kNotXml));
    } else if (!LoadOrderStore(session)) {
        SetLastError(session, GetLabelText(session, label::kOrderStoreNotLoaded));
    } else {
        storeRegistration(session, request.root());
    }
    const std::string lastError = ReadLastError(session);
    return lastError == kNoError ? std::string() : lastError;
}

}  // namespace quillmere
