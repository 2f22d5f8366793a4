#pragma once
// Unpacking the master-data archive that the page downloads into the master-data folder. The
// download is a self-extracting program "<name>.exe"; instead of running a downloaded program,
// the component opens the zip archive that the program carries and extracts it itself.
#include <cstdint>
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

// What an archive may unpack to. An archive past either limit is refused: the total guards
// the disk, the ratio to the archive's size catches an archive crafted to expand (real data
// files compress to a small fraction of it). Below `ratioFreeBytes` the ratio is not looked at.
struct UnpackLimits {
    uint64_t maxTotalBytes = uint64_t(4) << 30;  // 4 GiB
    uint64_t maxRatio = 250;
    uint64_t ratioFreeBytes = uint64_t(16) << 20;  // 16 MiB
};

// Extracts every directory and regular file of the zip archive (also one behind a program
// stub) below the Windows folder `targetFolder`. Entry names must be relative and stay inside
// the folder; links and special files are not created. Every entry is checked before any is
// written, the entries are streamed into a staging folder beside the target, and only when
// all are unpacked do they move in, each file replacing an older one atomically. Throws
// PlatformError (kGeneral) when the archive cannot be read, an entry name would leave the
// folder, or the archive unpacks past `limits`; the target folder is then unchanged.
void ExtractZipArchive(Session& session, const std::filesystem::path& archive,
                       std::string_view targetFolder, const UnpackLimits& limits = {});

}  // namespace quillmere
