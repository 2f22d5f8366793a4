// Connection strings: ODBC data sources from the registry, sqlite: paths and PostgreSQL URIs.
#include <cctype>
#include <utility>

#include "platform/db/database.h"
#include "platform/db/drivers.h"
#include "platform/failure.h"

namespace platform::db {

namespace {

constexpr std::string_view kDataSourcesKey = "SOFTWARE\\ODBC\\odbc.ini";
// The driver manager's own wording, which users and support know.
constexpr std::string_view kDataSourceNotFound =
    "[ODBC Driver Manager] Data source name not found and no default driver specified";

using Parameters = std::vector<std::pair<std::string, std::string>>;

[[noreturn]] void fail(const std::string& message) {
    throw PlatformError(failure::kDatabase, message);
}

bool startsWithIgnoreCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && equalsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    return text;
}

// A value in braces may hold ';' ("PWD={a;b}"); "}}" inside stands for one '}'.
std::string readBracedValue(std::string_view text, size_t& pos) {
    std::string value;
    for (++pos; pos < text.size(); ++pos) {
        if (text[pos] != '}') {
            value += text[pos];
        } else if (pos + 1 < text.size() && text[pos + 1] == '}') {
            value += '}';
            ++pos;
        } else {
            ++pos;
            break;
        }
    }
    // Whatever follows the closing brace up to the next ';' is not part of the value.
    pos = std::min(text.find(';', pos), text.size());
    return value;
}

// "KEY=value;KEY={value}" as ODBC connection strings are written.
Parameters parseParameters(std::string_view text) {
    Parameters parameters;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t equals = text.find('=', pos);
        const size_t semicolon = text.find(';', pos);
        if (equals == std::string_view::npos || equals > semicolon) {
            pos = semicolon == std::string_view::npos ? text.size() : semicolon + 1;
            continue;  // a part without '=' says nothing
        }
        std::string key(trim(text.substr(pos, equals - pos)));
        pos = equals + 1;
        while (pos < text.size() && text[pos] == ' ') ++pos;
        std::string value;
        if (pos < text.size() && text[pos] == '{') {
            value = readBracedValue(text, pos);
        } else {
            const size_t end = std::min(text.find(';', pos), text.size());
            value = std::string(trim(text.substr(pos, end - pos)));
            pos = end;
        }
        parameters.emplace_back(std::move(key), std::move(value));
        if (pos < text.size()) ++pos;  // the ';'
    }
    return parameters;
}

// As ODBC does, the first occurrence of a repeated key counts.
std::optional<std::string> parameter(const Parameters& parameters, std::string_view key) {
    for (const auto& [name, value] : parameters) {
        if (equalsIgnoreCase(name, key)) return value;
    }
    return std::nullopt;
}

bool isDrivePath(std::string_view path) {
    return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

std::filesystem::path databaseFile(std::string_view path, const MachineRoot& root) {
    if (!isDrivePath(path)) return std::filesystem::path(std::string(path));
    try {
        return root.map(path);
    } catch (const PlatformError& error) {
        fail("The database file '" + std::string(path) +
             "' cannot be reached: " + error.description());
    }
}

// Registry values of a data source, looked up by name without regard to case.
class DataSource {
  public:
    DataSource(std::string name, std::vector<RegistryValue> values)
        : name_(std::move(name)), values_(std::move(values)) {}

    const std::string& name() const { return name_; }

    std::optional<std::string> setting(std::string_view key) const {
        for (const RegistryValue& value : values_) {
            if (equalsIgnoreCase(value.name, key)) return value.dataAsText();
        }
        return std::nullopt;
    }

  private:
    std::string name_;
    std::vector<RegistryValue> values_;
};

DataSource findDataSource(const std::string& name, const MachineRoot& root) {
    const std::string key = std::string(kDataSourcesKey) + "\\" + name;
    const Registry registry(root);
    // A '\' would reach into some other key below odbc.ini.
    if (name.empty() || name.find('\\') != std::string::npos ||
        !registry.keyExists(Hive::LocalMachine, key)) {
        fail(std::string(kDataSourceNotFound) + " (DSN=" + name + ").");
    }
    return DataSource(name, registry.values(Hive::LocalMachine, key));
}

std::unique_ptr<Connection> connectPostgresSource(const DataSource& source,
                                                  const Parameters& parameters) {
    const std::optional<std::string> connect = source.setting("Connect");
    if (!connect || trim(*connect).empty()) {
        fail("Data source '" + source.name() + "' selects PostgreSQL but has no Connect value.");
    }
    std::optional<std::string> user = parameter(parameters, "UID");
    if (!user) user = source.setting("UID");
    std::optional<std::string> password = parameter(parameters, "PWD");
    if (!password) password = source.setting("PWD");
    return openPostgres(*connect, user, password);
}

std::unique_ptr<Connection> connectSqliteSource(const DataSource& source, const MachineRoot& root) {
    std::optional<std::string> file = source.setting("DBQ");
    if (!file) file = source.setting("Database");
    if (!file || trim(*file).empty()) {
        fail("Data source '" + source.name() + "' names no database file (DBQ).");
    }
    try {
        return openSqlite(databaseFile(trim(*file), root));
    } catch (const PlatformError& error) {
        fail("Data source '" + source.name() + "' (DBQ=" + *file + "): " + error.description());
    }
}

std::unique_ptr<Connection> connectDataSource(const Parameters& parameters,
                                              const MachineRoot& root) {
    const DataSource source = findDataSource(*parameter(parameters, "DSN"), root);
    const std::optional<std::string> driver = source.setting("Driver");
    if (driver && equalsIgnoreCase(trim(*driver), "PostgreSQL")) {
        return connectPostgresSource(source, parameters);
    }
    return connectSqliteSource(source, root);
}

}  // namespace

std::unique_ptr<Connection> connect(std::string_view connectionString, const MachineRoot& root) {
    const std::string_view text = trim(connectionString);
    if (startsWithIgnoreCase(text, "postgresql://") || startsWithIgnoreCase(text, "postgres://")) {
        return openPostgres(std::string(text), std::nullopt, std::nullopt);
    }
    if (startsWithIgnoreCase(text, "sqlite:")) {
        return openSqlite(databaseFile(trim(text.substr(7)), root));
    }
    const Parameters parameters = parseParameters(text);
    if (parameter(parameters, "DSN")) return connectDataSource(parameters, root);
    // The text is not repeated: it may hold a password.
    fail(
        "The connection string names no data source (DSN=...), sqlite: file or postgresql:// "
        "server.");
}

}  // namespace platform::db
