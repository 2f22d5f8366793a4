#pragma once
// Unpacking the master-data archive that the page downloads into the master-data folder. The
// download is a self-extracting program "<name>.exe"; instead of running a downloaded program,
// the component opens the zip archive that the program carries and extracts it itself.
#include <filesystem>
#include <string>
#include <string_view>

#include "component/core/session.h"
#include "component/core/variant.h"

namespace quillmere {

// Extracts "<iFileName>.exe" (a name in "C:\Taviro Quillmere\MasterData", or a full Windows
// path) into "C:\Taviro Quillmere\MasterData". A missing archive is reported in a message box
// (labels SLBEU0310 to SLBEU0313) and the call returns normally. A folder that is missing or
// an archive that cannot be read fails the call.
Variant ExplodeZip(Session& session, const std::string& iFileName);

// Extracts every directory and regular file of the zip archive (also one behind a program
// stub) below the Windows folder `targetFolder`. Entry names must be relative and stay inside
// the folder; links and special files are not created. Each file replaces an older one
// atomically. Throws PlatformError (kGeneral) when the archive cannot be read or an entry
// name would leave the folder; files extracted before that stay.
void ExtractZipArchive(Session& session, const std::filesystem::path& archive,
                       std::string_view targetFolder);

}  // namespace quillmere
