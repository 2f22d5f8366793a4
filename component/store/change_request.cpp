#include "component/store/change_request.h"

#include "component/core/field_mapper_document.h"
#include "component/core/label_keys.h"
#include "component/core/labels.h"
#include "component/core/last_error.h"
#include "component/core/log.h"
#include "component/store/order_store.h"

namespace quillmere {

namespace {}  // namespace

bool LoadForChange(Session& session, std::string_view action, std::string& result) {
    if (!LoadOrderStore(session)) {
        result = GetLabelText(session, label::kOrderStoreNotLoaded);
        SetLastError(session, result);
        return false;
    }
    if (!LoadFieldMapperDocument(session)) {
        const std::string message = GetLabelText(session, label::kFieldDefinitionsNotLoaded);
        SetLastError(session, message);
        LogAction(session, action);
        LogDetail(session, kErrorLabel, message);
        result.clear();
        return false;
    }
    return true;
}

void LogRejectedRequest(Session& session, std::string_view action, const std::string& message,
                        const std::string& iXML) {
    LogAction(session, action);
    LogDetail(session, kErrorLabel, message);
    LogLine(session, iXML);
}

}  // namespace quillmere
