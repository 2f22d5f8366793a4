#pragma once
// The component's fixed places on the machine (Windows paths, mapped below the machine root)
// and its registry keys.
#include <string_view>

namespace quillmere::paths {

inline constexpr std::string_view kInstallFolder = "C:\\Taviro Quillmere";
inline constexpr std::string_view kMasterDataFolder = "C:\\Taviro Quillmere\\MasterData";
inline constexpr std::string_view kLogFile = "C:\\Taviro Quillmere\\log.txt";
inline constexpr std::string_view kOrderStore = "C:\\Taviro Quillmere\\ZudivevEzored.xml";
inline constexpr std::string_view kFieldMapper = "C:\\Taviro Quillmere\\FieldMapper.xml";
inline constexpr std::string_view kUploadReport = "C:\\Taviro Quillmere\\UploadReport.xml";
inline constexpr std::string_view kStartPage = "C:\\Taviro Quillmere\\zudivevezored.html";

// Below HKEY_LOCAL_MACHINE.
inline constexpr std::string_view kSoftwareKey = "SOFTWARE";
inline constexpr std::string_view kVendorKey = "SOFTWARE\\Taviro";
inline constexpr std::string_view kComponentKey = "SOFTWARE\\Taviro\\Taviro Quillmere";
inline constexpr std::string_view kHandlerInfoKey = "SOFTWARE\\Microsoft\\DataFactory\\HandlerInfo";

}  // namespace quillmere::paths
