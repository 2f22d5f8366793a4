#pragma once
// The registry of a machine root: two hives, HKLM and HKCU, each persisted as one file under
// R/registry/ and replaced atomically on every change. Key names are case-insensitive and
// case-preserving; subkeys and values enumerate in creation order; setting an existing value
// keeps its place. Reads never create anything. Names and data are byte strings: texts that
// are not UTF-8 are kept byte for byte. A hive file that cannot be read back as a hive (keys
// nested deeper than kMaxKeyDepth included) fails every operation on that hive with
// PlatformError (kGeneral) and is left as it is.
//
// Several processes may work on one root. Every change is a read-modify-write of the hive file
// under an exclusive lock beside it ("HKLM.json.lock"), reading the file again under the lock,
// so no change of another process is written back over; a change that leaves the hive as it
// was does not write the file. Reads take no lock: the file is only ever replaced whole
// (renamed over), so a read sees one complete version.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/machine_root.h"

namespace platform {

enum class Hive { LocalMachine, CurrentUser };

// How deep keys may nest below a hive (as Windows allows).
inline constexpr size_t kMaxKeyDepth = 512;

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

    // Creates every missing key along the path; a path deeper than kMaxKeyDepth is refused
    // (kInvalidArgument).
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

    // Reads and changes the value named exactly `name` in one step under the hive's lock:
    // `change` gets the current value and returns the new one (keeping the name), or nullopt to
    // leave it. Returns the value as it was before; nullopt (and nothing called) when key or
    // value is missing. An exception from `change` leaves the hive untouched.
    using ValueChange = std::function<std::optional<RegistryValue>(const RegistryValue&)>;
    std::optional<RegistryValue> updateValue(Hive hive, std::string_view key, std::string_view name,
                                             const ValueChange& change);

    // Removes one value; false when it was not there.
    bool deleteValue(Hive hive, std::string_view key, std::string_view name);

    // Removes a key with everything below it; false when it was not there.
    bool deleteKey(Hive hive, std::string_view key);

  private:
    std::filesystem::path hiveFile(Hive hive) const;
    // Runs `change` on the hive as the file holds it under the exclusive lock, and saves the
    // hive when it answers true.
    template <typename Change>
    auto changeHive(Hive hive, Change&& change);
    MachineRoot root_;
};

}  // namespace platform
