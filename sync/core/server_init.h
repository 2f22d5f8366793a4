#pragma once
// brindlemoor --init: prepares a server root so that a run works next. It writes the registry
// values (web root, middleware folder, connection strings 11 and 8, the data source
// "Quillmere" of the description look-ups), makes the folders (web root, master-data folder,
// one folder per company, log folder), creates the server database's tables when it holds
// none (with the delivered label texts and DefaultLanguage 1033), and gives each company a
// user with a bus identifier whose bus address is the company's ERP audit database. It keeps
// what exists and can be run again.
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/machine_root.h"

namespace brindlemoor {

struct InitCompany {
    int company = 0;  // 0 to 32767, the company folder's name
    std::string erp;  // connection string of the company's ERP audit database
};

struct InitOptions {
    std::string serverDatabase;          // connection string of the server database
    std::optional<std::string> webRoot;  // a Windows path or a Linux path
    std::vector<InitCompany> companies;
};

// Writes one line per step to `out`. 0 when the root is ready; 1 after a failure, which is
// written to `err` (passwords masked); the steps done before it stay.
int InitServer(const platform::MachineRoot& root, const InitOptions& options, std::ostream& out,
               std::ostream& err);

}  // namespace brindlemoor
