// Fuzz target: the registry's hive reader. The input is the HKCU hive file of a machine root;
// reading every key and value of it, and changing one value, must answer or fail cleanly.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/failure.h"
#include "platform/registry.h"
#include "tests/support/temp_root.h"

namespace {

constexpr platform::Hive kHive = platform::Hive::CurrentUser;

// Reads the key's values and, a few levels deep, its subkeys.
void readKey(const platform::Registry& registry, const std::string& key, int levels) {
    for (const platform::RegistryValue& value : registry.values(kHive, key))
        (void)value.dataAsText();
    if (levels == 0) return;
    for (const std::string& subkey : registry.subkeys(kHive, key))
        readKey(registry, key.empty() ? subkey : key + "\\" + subkey, levels - 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const testing_support::TempRoot temp;
    const std::string hive(reinterpret_cast<const char*>(data), size);
    testing_support::writeFile(temp.root().registryDirectory() / "HKCU.json", hive);
    platform::Registry registry(temp.root());
    try {
        (void)registry.keyExists(kHive, "Software\\Taviro");
        readKey(registry, "", 4);
        registry.createKey(kHive, "Software\\Taviro");
        registry.setValue(kHive, "Software\\Taviro", platform::RegistryValue::string("n", "v"));
    } catch (const platform::PlatformError&) {
        // A damaged hive or a missing key fails the operation; that is an answer.
    }
    return 0;
}
