#include "component/store/download_xml.h"

#include "component/core/install_paths.h"
#include "component/core/label_keys.h"
#include "component/core/labels.h"
#include "component/core/last_error.h"
#include "component/core/log.h"
#include "component/store/download_merge.h"
#include "component/store/order_store.h"
#include "platform/text_file.h"
#include "platform/xml/document.h"

namespace quillmere {

namespace {

constexpr std::string_view kAction = "Download XML";
constexpr std::string_view kFirstDownload = "New Data has been downloaded.";

std::string refuseInput(Session& session, std::string_view key, const std::string& iXML) {
    const std::string message = GetLabelText(session, key);
    SetLastError(session, message);
    LogAction(session, kAction);
    LogDetail(session, kErrorLabel, message);
    LogDetail(session, kXmlLabel, iXML);
    return message;
}

}  // namespace

std::string DownloadXml(Session& session, const std::string& iXML) {
    SetLastError(session, kNoError);
    if (iXML.empty()) return refuseInput(session, label::kDownloadEmpty, iXML);

    platform::xml::Document incoming;
    if (!incoming.parse(iXML)) return refuseInput(session, label::kNotXml, iXML);

    const auto storeFile = session.path(paths::kOrderStore);
    if (!platform::fileExists(storeFile)) {
        platform::writeFileAtomically(storeFile, iXML);
        LogAction(session, kAction);
        LogDetail(session, kXmlLabel, iXML);
        return std::string(kFirstDownload);
    }

    if (!LoadOrderStore(session)) {
        const std::string message = GetLabelText(session, label::kOrderStoreNotLoaded);
        LogAction(session, kAction);
        LogDetail(session, kErrorLabel, message);
        LogLine(session, iXML);
        SetLastError(session, message);
        return message;
    }

    if (MergeDownload(session, incoming) == MergeResult::Added)
        return GetLabelText(session, label::kDownloadAdded);
    const std::string message = GetLabelText(session, label::kNoNewData);
    SetLastError(session, message);
    LogAction(session, kAction);
    LogDetail(session, kXmlLabel, iXML);
    return message;
}

}  // namespace quillmere
