#include "tests/component/support/component_fixture.h"

#include <stdexcept>

#include "platform/failure.h"
#include "platform/xml/document.h"

namespace testing_support {

namespace {
const std::string kInstallFolder = "C:\\Taviro Quillmere\\";

std::string fieldMapperSource() {
    return std::string(TAVIRO_SOURCE_DIR) + "/data/FieldMapper.xml";
}
}  // namespace

ComponentMachine::ComponentMachine(bool withDriveC)
    : temp_(withDriveC), client_(quillmere::CreateClient20(temp_.root(), messages_, clock_)) {}

quillmere::CallOutcome ComponentMachine::invoke(const std::string& method,
                                                std::vector<quillmere::Variant> args) {
    return client_->invoke(method, args);
}

quillmere::Variant ComponentMachine::call(const std::string& method,
                                          std::vector<quillmere::Variant> args) {
    const auto outcome = client_->invoke(method, args);
    if (!outcome.succeeded)
        throw std::runtime_error(method + " failed: " + platform::formatFailureCode(outcome.code) +
                                 " " + outcome.description);
    return outcome.result;
}

std::string ComponentMachine::callText(const std::string& method,
                                       std::vector<quillmere::Variant> args) {
    return call(method, std::move(args)).asText();
}

void ComponentMachine::installFieldMapper() {
    installFieldMapper(readFile(fieldMapperSource()));
}

void ComponentMachine::installFieldMapper(const std::string& text) {
    writeInstallFile("FieldMapper.xml", text);
}

void ComponentMachine::initializeWithFieldMapper() {
    call("Initialize");
    installFieldMapper();
}

std::filesystem::path ComponentMachine::installPath(const std::string& name) const {
    return temp_.root().map(kInstallFolder + name);
}

std::string ComponentMachine::readInstallFile(const std::string& name) const {
    return readFile(installPath(name));
}

void ComponentMachine::writeInstallFile(const std::string& name, const std::string& bytes) const {
    writeFile(installPath(name), bytes);
}

std::string labelText(const std::string& key) {
    namespace xml = platform::xml;
    static xml::Document document;
    static const bool loaded = document.loadFile(fieldMapperSource());
    if (!loaded) throw std::runtime_error("data/FieldMapper.xml does not load");
    for (xml::Node section : xml::selectAll(document.node(), "I18N")) {
        for (xml::Node entry : xml::elementChildren(section))
            if (xml::attributeEquals(entry, "ID", key))
                return std::string(xml::attributeOrEmpty(entry, "DESCRIPTION"));
    }
    return {};
}

}  // namespace testing_support
