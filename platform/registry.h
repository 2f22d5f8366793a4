#pragma once
// The registry of a machine root: two hives, HKLM and HKCU, each persisted as one file under
// R/registry/ and replaced atomically on every change. Key names are case-insensitive and
// case-preserving; subkeys and values enumerate in creation order; setting an existing value
// keeps its place. Reads never create anything. Names and data are byte strings: texts that
// are not UTF-8 are kept byte for byte. A hive file that cannot be read back as a hive fails
// every operation on that hive with PlatformError (kGeneral) and is left as it is.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/machine_root.h"

namespace platform {

enum class Hive { LocalMachine, CurrentUser };

enum class ValueType { String, DWord };  // REG_SZ, REG_DWORD

struct RegistryValue {
    std::string name;
    ValueType type = ValueType::String;
    std::string text;     // REG_SZ data
    uint32_t number = 0;  // REG_DWORD data

    static RegistryValue string(std::string name, std::string text);
    static RegistryValue dword(std::string name, uint32_t number);
    // The data as text: REG_SZ as stored, REG_DWORD in decimal.
    std::string dataAsText() const;
    bool operator==(const RegistryValue&) const = default;
};

// "HKLM\SOFTWARE\x" or "HKEY_LOCAL_MACHINE\SOFTWARE\x" -> hive and the path below it.
// Throws PlatformError (kInvalidArgument) for an unknown hive.
std::pair<Hive, std::string> splitRegistryPath(std::string_view fullKey);

class Registry {
  public:
    explicit Registry(const MachineRoot& root);

    bool keyExists(Hive hive, std::string_view key) const;

    // Creates every missing key along the path.
    void createKey(Hive hive, std::string_view key);

    // Names of the direct subkeys in creation order; kRegistryKeyMissing when the key is absent.
    std::vector<std::string> subkeys(Hive hive, std::string_view key) const;

    // Values in creation order; kRegistryKeyMissing when the key is absent.
    std::vector<RegistryValue> values(Hive hive, std::string_view key) const;

    // The value whose name equals `name` exactly; nullopt when key or value is missing.
    std::optional<RegistryValue> valueExact(Hive hive, std::string_view key,
                                            std::string_view name) const;

    // Adds the value, or replaces the data and type of the value of that name (compared
    // without regard to case, as the registry does) in place. The key must exist
    // (kRegistryKeyMissing otherwise).
    void setValue(Hive hive, std::string_view key, const RegistryValue& value);

    // Removes one value; false when it was not there.
    bool deleteValue(Hive hive, std::string_view key, std::string_view name);

    // Removes a key with everything below it; false when it was not there.
    bool deleteKey(Hive hive, std::string_view key);

  private:
    std::filesystem::path hiveFile(Hive hive) const;
    MachineRoot root_;
};

}  // namespace platform
