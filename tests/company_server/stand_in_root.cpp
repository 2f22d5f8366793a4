#include "tests/company_server/stand_in_root.h"

#include <algorithm>

#include "platform/db/database.h"
#include "platform/registry.h"

namespace company_server_testing {

namespace fs = std::filesystem;

StandInRoot::StandInRoot() {
    platform::Registry registry(root());
    const auto setText = [&](const std::string& key, const std::string& name,
                             const std::string& value) {
        registry.createKey(platform::Hive::LocalMachine, key);
        registry.setValue(platform::Hive::LocalMachine, key,
                          platform::RegistryValue::string(name, value));
    };
    setText("SOFTWARE\\Microsoft\\INetStp", "PathWWWRoot", "C:\\Inetpub\\wwwroot");
    setText("SOFTWARE\\ODBC\\odbc.ini\\Quillmere", "DBQ", "C:\\Data\\quillmere.mdb");
    fs::create_directories(dir() / "C" / "Inetpub" / "wwwroot" / "MasterData");
    // An empty file is a new SQLite database; the data source needs the file to exist.
    testing_support::writeFile(dir() / "C" / "Data" / "quillmere.mdb", "");
    const auto database = platform::db::connect("DSN=Quillmere", root());
    database->execute(testing_support::readFile(std::string(TAVIRO_SOURCE_DIR) +
                                                "/data/server/server-database.sql"));
    database->execute(
        "INSERT INTO SERVICEITEMS VALUES ('500', '         PMP-UPS25-60', 'Circulation pump'), "
        "('500', '         THR-RT200', 'Room thermostat'), ('500', 'GSK-34', 'Gasket')");
}

fs::path StandInRoot::companyFolder(const std::string& company) const {
    const fs::path folder = dir() / "C" / "Inetpub" / "wwwroot" / "MasterData" / company;
    fs::create_directories(folder);
    return folder;
}

bool ListedItems::contains(std::string_view item) {
    return std::find(items_.begin(), items_.end(), item) != items_.end();
}

std::string uploadDocument(const std::string& orders, const std::string& activities,
                           const std::string& material, const std::string& labor,
                           const std::string& other) {
    return "<zudivevezored><ccsocservcordr>" + orders + "</ccsocservcordr><ccsocservcactv>" +
           activities + "</ccsocservcactv><ccsocservcmatl>" + material +
           "</ccsocservcmatl><ccsocservclabr>" + labor + "</ccsocservclabr><ccsocservcothr>" +
           other + "</ccsocservcothr><ccsocservchra/></zudivevezored>";
}

}  // namespace company_server_testing
