#include "platform/registry.h"

#include <nlohmann/json.hpp>

#include "platform/failure.h"
#include "platform/text_file.h"

namespace platform {

namespace fs = std::filesystem;
using json = nlohmann::ordered_json;

RegistryValue RegistryValue::string(std::string name, std::string text) {
    RegistryValue v;
    v.name = std::move(name);
    v.type = ValueType::String;
    v.text = std::move(text);
    return v;
}

RegistryValue RegistryValue::dword(std::string name, uint32_t number) {
    RegistryValue v;
    v.name = std::move(name);
    v.type = ValueType::DWord;
    v.number = number;
    return v;
}

std::string RegistryValue::dataAsText() const {
    return type == ValueType::DWord ? std::to_string(number) : text;
}

std::pair<Hive, std::string> splitRegistryPath(std::string_view fullKey) {
    const size_t slash = fullKey.find('\\');
    const std::string_view hiveName = fullKey.substr(0, slash);
    const std::string rest = slash == std::string_view::npos ? "" : std::string(fullKey.substr(slash + 1));
    if (equalsIgnoreCase(hiveName, "HKLM") || equalsIgnoreCase(hiveName, "HKEY_LOCAL_MACHINE"))
        return {Hive::LocalMachine, rest};
    if (equalsIgnoreCase(hiveName, "HKCU") || equalsIgnoreCase(hiveName, "HKEY_CURRENT_USER"))
        return {Hive::CurrentUser, rest};
    throw PlatformError(failure::kInvalidArgument, "Unknown registry hive: " + std::string(hiveName));
}

namespace {

// One key of a hive as held in memory while an operation runs.
struct Key {
    std::string name;
    std::vector<RegistryValue> values;
    std::vector<Key> subkeys;
};

std::vector<std::string> splitKeyPath(std::string_view path) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : path) {
        if (c == '\\') {
            if (!current.empty()) parts.push_back(std::move(current));
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) parts.push_back(std::move(current));
    return parts;
}

Key* findSubkey(Key& key, std::string_view name) {
    for (Key& sub : key.subkeys)
        if (equalsIgnoreCase(sub.name, name)) return &sub;
    return nullptr;
}

Key* findKey(Key& hive, std::string_view path) {
    Key* key = &hive;
    for (const std::string& part : splitKeyPath(path)) {
        key = findSubkey(*key, part);
        if (!key) return nullptr;
    }
    return key;
}

Key& createKeyPath(Key& hive, std::string_view path) {
    Key* key = &hive;
    for (const std::string& part : splitKeyPath(path)) {
        Key* sub = findSubkey(*key, part);
        if (!sub) {
            key->subkeys.push_back(Key{part, {}, {}});
            sub = &key->subkeys.back();
        }
        key = sub;
    }
    return *key;
}

json toJson(const Key& key) {
    json values = json::array();
    for (const RegistryValue& v : key.values) {
        json item = {{"name", v.name}, {"type", v.type == ValueType::DWord ? "REG_DWORD" : "REG_SZ"}};
        if (v.type == ValueType::DWord)
            item["data"] = v.number;
        else
            item["data"] = v.text;
        values.push_back(std::move(item));
    }
    json subkeys = json::array();
    for (const Key& sub : key.subkeys) subkeys.push_back(toJson(sub));
    return {{"name", key.name}, {"values", std::move(values)}, {"subkeys", std::move(subkeys)}};
}

Key fromJson(const json& node) {
    Key key{node.at("name").get<std::string>(), {}, {}};
    for (const json& item : node.at("values")) {
        const std::string name = item.at("name").get<std::string>();
        if (item.at("type").get<std::string>() == "REG_DWORD")
            key.values.push_back(RegistryValue::dword(name, item.at("data").get<uint32_t>()));
        else
            key.values.push_back(RegistryValue::string(name, item.at("data").get<std::string>()));
    }
    for (const json& sub : node.at("subkeys")) key.subkeys.push_back(fromJson(sub));
    return key;
}

Key loadHive(const fs::path& file) {
    if (!fileExists(file)) return Key{};
    try {
        return fromJson(json::parse(readWholeFile(file)));
    } catch (const json::exception& e) {
        throw PlatformError(failure::kGeneral, "Registry hive " + file.string() + " is damaged: " + e.what());
    }
}

void saveHive(const fs::path& file, const Key& hive) {
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    writeFileAtomically(file, toJson(hive).dump(1) + "\n");
}

[[noreturn]] void keyMissing(std::string_view key) {
    throw PlatformError(failure::kRegistryKeyMissing, "Registry key not found: " + std::string(key));
}

}  // namespace

Registry::Registry(const MachineRoot& root) : root_(root) {}

fs::path Registry::hiveFile(Hive hive) const {
    return root_.registryDirectory() / (hive == Hive::LocalMachine ? "HKLM.json" : "HKCU.json");
}

bool Registry::keyExists(Hive hive, std::string_view key) const {
    Key tree = loadHive(hiveFile(hive));
    return findKey(tree, key) != nullptr;
}

void Registry::createKey(Hive hive, std::string_view key) {
    Key tree = loadHive(hiveFile(hive));
    if (findKey(tree, key)) return;
    createKeyPath(tree, key);
    saveHive(hiveFile(hive), tree);
}

std::vector<std::string> Registry::subkeys(Hive hive, std::string_view key) const {
    Key tree = loadHive(hiveFile(hive));
    const Key* found = findKey(tree, key);
    if (!found) keyMissing(key);
    std::vector<std::string> names;
    for (const Key& sub : found->subkeys) names.push_back(sub.name);
    return names;
}

std::vector<RegistryValue> Registry::values(Hive hive, std::string_view key) const {
    Key tree = loadHive(hiveFile(hive));
    const Key* found = findKey(tree, key);
    if (!found) keyMissing(key);
    return found->values;
}

std::optional<RegistryValue> Registry::valueExact(Hive hive, std::string_view key,
                                                  std::string_view name) const {
    Key tree = loadHive(hiveFile(hive));
    const Key* found = findKey(tree, key);
    if (!found) return std::nullopt;
    for (const RegistryValue& v : found->values)
        if (v.name == name) return v;
    return std::nullopt;
}

void Registry::setValue(Hive hive, std::string_view key, const RegistryValue& value) {
    Key tree = loadHive(hiveFile(hive));
    Key* found = findKey(tree, key);
    if (!found) keyMissing(key);
    bool replaced = false;
    for (RegistryValue& v : found->values) {
        if (equalsIgnoreCase(v.name, value.name)) {
            const std::string keptName = v.name;
            v = value;
            v.name = keptName;
            replaced = true;
            break;
        }
    }
    if (!replaced) found->values.push_back(value);
    saveHive(hiveFile(hive), tree);
}

bool Registry::deleteValue(Hive hive, std::string_view key, std::string_view name) {
    Key tree = loadHive(hiveFile(hive));
    Key* found = findKey(tree, key);
    if (!found) return false;
    for (auto it = found->values.begin(); it != found->values.end(); ++it) {
        if (equalsIgnoreCase(it->name, name)) {
            found->values.erase(it);
            saveHive(hiveFile(hive), tree);
            return true;
        }
    }
    return false;
}

bool Registry::deleteKey(Hive hive, std::string_view key) {
    const std::vector<std::string> parts = splitKeyPath(key);
    if (parts.empty()) return false;
    Key tree = loadHive(hiveFile(hive));
    std::string parentPath;
    for (size_t i = 0; i + 1 < parts.size(); ++i) parentPath += parts[i] + "\\";
    Key* parent = findKey(tree, parentPath);
    if (!parent) return false;
    for (auto it = parent->subkeys.begin(); it != parent->subkeys.end(); ++it) {
        if (equalsIgnoreCase(it->name, parts.back())) {
            parent->subkeys.erase(it);
            saveHive(hiveFile(hive), tree);
            return true;
        }
    }
    return false;
}

}  // namespace platform
