#pragma once
// Where the stand-in keeps what it serves and receives, inside the server root S (the root the
// synchronizer works on):
//
//   S/company-server/orders/<engineer>.xml   each engineer's server document (the download)
//   S/company-server/uploads/<name>          every upload received, as received
//   S/company-server/reports/<name>          the report answered for it
//   S/company-server/packages/<center>.mdb   master-data databases offered as packages
//
// and the change files that the synchronizer writes below the web root (registry value
// PathWWWRoot of HKLM\SOFTWARE\Microsoft\INetStp) in MasterData\<company>.
//
// Names handed in by requests are checked here: a name that is not a plain file name is a
// RequestError (400).
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/machine_root.h"

namespace company_server {

class ServerFiles {
  public:
    // `seedFile` is the download document given to an engineer the server has none for yet.
    ServerFiles(platform::MachineRoot root, std::filesystem::path seedFile);

    const platform::MachineRoot& root() const { return root_; }
    const std::filesystem::path& seedFile() const { return seedFile_; }
    std::filesystem::path folder() const;

    std::filesystem::path ordersFile(std::string_view engineer) const;
    std::filesystem::path uploadFile(std::string_view name) const;
    std::filesystem::path reportFile(std::string_view name) const;
    std::filesystem::path packageFile(std::string_view center) const;
    // The state every change of the stand-in's files is made under (see FileLock).
    std::filesystem::path lockTarget() const;

    // Engineers that have a server document, in name order.
    std::vector<std::string> engineers() const;
    // Service centers that have a package, in name order.
    std::vector<std::string> packageCenters() const;

    // The company's master-data folder below the web root. Throws RequestError (404) when the
    // web root is not set or the folder does not exist.
    std::filesystem::path masterDataFolder(std::string_view company) const;

  private:
    platform::MachineRoot root_;
    std::filesystem::path seedFile_;
};

// Names of the files in `folder` whose name ends with `suffix` (any case), in name order
// without regard to case, with or without the suffix.
std::vector<std::string> namesEndingWith(const std::filesystem::path& folder,
                                         std::string_view suffix, bool keepSuffix);

}  // namespace company_server
