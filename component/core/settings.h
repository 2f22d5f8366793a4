#pragma once
// The page's access to settings and files: last error, single registry values, the working
// mode, the browser settings, the saved start page and the content of the component's files.
#include <string>

#include "component/core/session.h"
#include "component/core/variant.h"

namespace quillmere {

std::string Get_Error(Session& session);
std::string GetVariable(Session& session, const std::string& iVar);
Variant Set_Mode(Session& session, const std::string& iMode);
Variant RegisterDownloadPath(Session& session);
Variant SetHomePage(Session& session);
Variant SaveWebPage(Session& session, const std::string& iHtml);
Variant GetMailContent(Session& session, const std::string& iWhat);
bool LocalXmlExists(Session& session);
std::string GetI18NString(Session& session, const std::string& label);

// True when the file's type is that of an Access database (on this platform: ".mdb").
bool IsDatabaseFile(const std::filesystem::path& file);

}  // namespace quillmere
