#pragma once
// A component on a fresh machine root: call methods by name as the page does and inspect the
// files and registry it leaves behind.
#include <memory>
#include <string>
#include <vector>

#include "component/core/method_bindings.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "tests/support/temp_root.h"

namespace testing_support {

// Collects message boxes instead of showing them.
class RecordingMessageSink : public platform::MessageSink {
  public:
    struct Message {
        std::string title;
        std::string text;
        platform::MessageIcon icon;
    };
    void show(const std::string& title, const std::string& text,
              platform::MessageIcon icon) override {
        shown.push_back({title, text, icon});
    }
    std::vector<Message> shown;
};

// The time every component machine's clock shows until a test sets another.
inline constexpr platform::LocalDateTime kFixedTime{2026, 12, 7, 9, 5, 0};

class ComponentMachine {
  public:
    explicit ComponentMachine(bool withDriveC = true);

    // Calls a method with text arguments; throws std::runtime_error when the call fails.
    quillmere::Variant call(const std::string& method, std::vector<quillmere::Variant> args = {});
    std::string callText(const std::string& method, std::vector<quillmere::Variant> args = {});
    // Calls a method and returns the whole outcome (for failures).
    quillmere::CallOutcome invoke(const std::string& method,
                                  std::vector<quillmere::Variant> args = {});

    // Initialize, then install the field definitions of data/FieldMapper.xml.
    void initializeWithFieldMapper();
    // Copies data/FieldMapper.xml (or the given text) to the install folder.
    void installFieldMapper();
    void installFieldMapper(const std::string& text);

    std::string readInstallFile(const std::string& name) const;  // "" when missing
    void writeInstallFile(const std::string& name, const std::string& bytes) const;
    std::filesystem::path installPath(const std::string& name) const;
    std::string log() const { return readInstallFile("log.txt"); }

    TempRoot& temp() { return temp_; }
    const platform::MachineRoot& root() const { return temp_.root(); }
    platform::Registry registry() const { return platform::Registry(temp_.root()); }
    quillmere::Client20& client() { return *client_; }
    quillmere::Session& session() { return client_->session(); }
    platform::FixedClock& clock() { return clock_; }
    RecordingMessageSink& messages() { return messages_; }

  private:
    TempRoot temp_;
    RecordingMessageSink messages_;
    platform::FixedClock clock_{kFixedTime};
    std::unique_ptr<quillmere::Client20> client_;
};

// Text arguments for a call.
inline quillmere::Variant text(const std::string& value) {
    return quillmere::Variant::text(value);
}

// The label text of data/FieldMapper.xml for a key (for expected results).
std::string labelText(const std::string& key);

}  // namespace testing_support
