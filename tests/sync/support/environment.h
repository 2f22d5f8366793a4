#pragma once
// Environment variables set for the life of a test and restored after it, for the programs the
// test starts (they inherit the test's environment).
#include <stdlib.h>

#include <map>
#include <optional>
#include <string>

namespace sync_testing {

class Environment {
  public:
    Environment() = default;
    Environment(const Environment&) = delete;
    Environment& operator=(const Environment&) = delete;

    // Sets `name` to `value`, or unsets it for nullptr.
    void set(const char* name, const char* value) {
        if (saved_.find(name) == saved_.end()) {
            const char* old = getenv(name);
            saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        if (value) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }

    ~Environment() {
        for (const auto& [name, value] : saved_) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
    }

  private:
    std::map<std::string, std::optional<std::string>> saved_;
};

}  // namespace sync_testing
