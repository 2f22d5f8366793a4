#include "platform/registry.h"

#include <cstdint>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "platform/failure.h"
#include "platform/file_lock.h"
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
    const std::string rest =
        slash == std::string_view::npos ? "" : std::string(fullKey.substr(slash + 1));
    if (equalsIgnoreCase(hiveName, "HKLM") || equalsIgnoreCase(hiveName, "HKEY_LOCAL_MACHINE"))
        return {Hive::LocalMachine, rest};
    if (equalsIgnoreCase(hiveName, "HKCU") || equalsIgnoreCase(hiveName, "HKEY_CURRENT_USER"))
        return {Hive::CurrentUser, rest};
    throw PlatformError(failure::kInvalidArgument,
                        "Unknown registry hive: " + std::string(hiveName));
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

// A hive file is JSON, and JSON text is UTF-8; registry texts are single-byte texts of the
// machine and need not be. Texts that are valid UTF-8 are stored as JSON strings; any other
// text is stored as {"bytes": "<hex>"} so that every byte comes back as it was written.
bool isValidUtf8(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        size_t length = 0;
        uint32_t point = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            point = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            point = lead & 0x0Fu;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            point = lead & 0x07u;
        } else {
            return false;
        }
        if (i + length > text.size()) return false;
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0u) != 0x80u) return false;
            point = (point << 6) | (next & 0x3Fu);
        }
        const bool overlong = (length == 3 && point < 0x800) || (length == 4 && point < 0x10000);
        if (overlong || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

class DamagedHive : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

json textToJson(const std::string& text) {
    if (isValidUtf8(text)) return text;
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : text) {
        hex += digits[c >> 4];
        hex += digits[c & 0x0F];
    }
    return json{{"bytes", hex}};
}

std::string textFromJson(const json& node) {
    if (node.is_string()) return node.get<std::string>();
    const std::string hex = node.at("bytes").get<std::string>();
    if (hex.size() % 2 != 0) throw DamagedHive("odd number of hex digits");
    auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        throw DamagedHive("not a hex digit");
    };
    std::string text;
    for (size_t i = 0; i < hex.size(); i += 2)
        text += static_cast<char>(digit(hex[i]) * 16 + digit(hex[i + 1]));
    return text;
}

json toJson(const Key& key) {
    json values = json::array();
    for (const RegistryValue& v : key.values) {
        json item = {{"name", textToJson(v.name)},
                     {"type", v.type == ValueType::DWord ? "REG_DWORD" : "REG_SZ"}};
        if (v.type == ValueType::DWord)
            item["data"] = v.number;
        else
            item["data"] = textToJson(v.text);
        values.push_back(std::move(item));
    }
    json subkeys = json::array();
    for (const Key& sub : key.subkeys) subkeys.push_back(toJson(sub));
    return {{"name", textToJson(key.name)},
            {"values", std::move(values)},
            {"subkeys", std::move(subkeys)}};
}

uint32_t dwordFromJson(const json& data) {
    if (!data.is_number_unsigned() || data.get<uint64_t>() > UINT32_MAX)
        throw DamagedHive("REG_DWORD data is not an unsigned 32-bit number");
    return static_cast<uint32_t>(data.get<uint64_t>());
}

Key fromJson(const json& node) {
    Key key{textFromJson(node.at("name")), {}, {}};
    for (const json& item : node.at("values")) {
        const std::string name = textFromJson(item.at("name"));
        const std::string type = item.at("type").get<std::string>();
        if (type == "REG_DWORD")
            key.values.push_back(RegistryValue::dword(name, dwordFromJson(item.at("data"))));
        else if (type == "REG_SZ")
            key.values.push_back(RegistryValue::string(name, textFromJson(item.at("data"))));
        else
            throw DamagedHive("unknown value type " + type);
    }
    for (const json& sub : node.at("subkeys")) key.subkeys.push_back(fromJson(sub));
    return key;
}

// Every key adds an object and its "subkeys" array; values add their array and one object.
constexpr int kMaxJsonDepth = static_cast<int>(2 * kMaxKeyDepth) + 4;

// Parses the hive's JSON refusing nesting past the bound before it is built, so that neither
// the parse nor the recursive walks over the tree can exhaust the stack.
json parseBounded(const std::string& text) {
    const json::parser_callback_t bound = [](int depth, json::parse_event_t, json&) {
        if (depth > kMaxJsonDepth)
            throw DamagedHive("keys are nested deeper than " + std::to_string(kMaxKeyDepth) +
                              " levels");
        return true;
    };
    return json::parse(text, bound);
}

Key loadHive(const fs::path& file) {
    if (!fileExists(file)) return Key{};
    try {
        return fromJson(parseBounded(readWholeFile(file)));
    } catch (const json::exception& e) {
        throw PlatformError(failure::kGeneral,
                            "Registry hive " + file.string() + " is damaged: " + e.what());
    } catch (const DamagedHive& e) {
        throw PlatformError(failure::kGeneral,
                            "Registry hive " + file.string() + " is damaged: " + e.what());
    }
}

void saveHive(const fs::path& file, const Key& hive) {
    removeStaleTemporaries(file);  // the caller holds the hive's lock
    writeFileAtomically(file, toJson(hive).dump(1) + "\n");
}

bool sameValue(const RegistryValue& a, const RegistryValue& b) {
    if (a.type != b.type) return false;
    return a.type == ValueType::DWord ? a.number == b.number : a.text == b.text;
}

[[noreturn]] void keyMissing(std::string_view key) {
    throw PlatformError(failure::kRegistryKeyMissing,
                        "Registry key not found: " + std::string(key));
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

template <typename Change>
auto Registry::changeHive(Hive hive, Change&& change) {
    const fs::path file = hiveFile(hive);
    if (!folderExists(file.parent_path())) {
        // No hive yet: a change that would change nothing in an empty hive creates nothing.
        Key empty;
        auto [changed, answer] = change(empty);
        if (!changed) return answer;
        std::error_code ec;
        fs::create_directories(file.parent_path(), ec);
    }
    const FileLock lock(file, LockMode::Exclusive);
    Key tree = loadHive(file);
    auto [changed, answer] = change(tree);
    if (changed) saveHive(file, tree);
    return answer;
}

void Registry::createKey(Hive hive, std::string_view key) {
    if (splitKeyPath(key).size() > kMaxKeyDepth)
        throw PlatformError(failure::kInvalidArgument, "Registry key nested deeper than " +
                                                           std::to_string(kMaxKeyDepth) +
                                                           " levels: " + std::string(key));
    changeHive(hive, [&](Key& tree) {
        if (findKey(tree, key)) return std::pair{false, 0};
        createKeyPath(tree, key);
        return std::pair{true, 0};
    });
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
    changeHive(hive, [&](Key& tree) {
        Key* found = findKey(tree, key);
        if (!found) keyMissing(key);
        for (RegistryValue& v : found->values) {
            if (!equalsIgnoreCase(v.name, value.name)) continue;
            if (sameValue(v, value)) return std::pair{false, 0};
            const std::string keptName = v.name;
            v = value;
            v.name = keptName;
            return std::pair{true, 0};
        }
        found->values.push_back(value);
        return std::pair{true, 0};
    });
}

std::optional<RegistryValue> Registry::updateValue(Hive hive, std::string_view key,
                                                   std::string_view name,
                                                   const ValueChange& change) {
    return changeHive(hive, [&](Key& tree) {
        Key* found = findKey(tree, key);
        if (!found) return std::pair{false, std::optional<RegistryValue>()};
        for (RegistryValue& v : found->values) {
            if (v.name != name) continue;
            const RegistryValue before = v;
            std::optional<RegistryValue> after = change(before);
            if (!after || sameValue(*after, before)) return std::pair{false, std::optional(before)};
            v = std::move(*after);
            v.name = before.name;
            return std::pair{true, std::optional(before)};
        }
        return std::pair{false, std::optional<RegistryValue>()};
    });
}

bool Registry::deleteValue(Hive hive, std::string_view key, std::string_view name) {
    return changeHive(hive, [&](Key& tree) {
        Key* found = findKey(tree, key);
        if (!found) return std::pair{false, false};
        for (auto it = found->values.begin(); it != found->values.end(); ++it) {
            if (equalsIgnoreCase(it->name, name)) {
                found->values.erase(it);
                return std::pair{true, true};
            }
        }
        return std::pair{false, false};
    });
}

bool Registry::deleteKey(Hive hive, std::string_view key) {
    const std::vector<std::string> parts = splitKeyPath(key);
    if (parts.empty()) return false;
    std::string parentPath;
    for (size_t i = 0; i + 1 < parts.size(); ++i) parentPath += parts[i] + "\\";
    return changeHive(hive, [&](Key& tree) {
        Key* parent = findKey(tree, parentPath);
        if (!parent) return std::pair{false, false};
        for (auto it = parent->subkeys.begin(); it != parent->subkeys.end(); ++it) {
            if (equalsIgnoreCase(it->name, parts.back())) {
                parent->subkeys.erase(it);
                return std::pair{true, true};
            }
        }
        return std::pair{false, false};
    });
}

}  // namespace platform
