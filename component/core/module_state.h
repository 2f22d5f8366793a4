#pragma once
// What the component keeps between calls on one thread: the shared documents, the current
// field definition, the master-data connection and the remembered validation values. Every
// Client20 object of a thread shares it; nothing in it is persisted.
#include <memory>
#include <string>

#include "platform/db/database.h"
#include "platform/xml/document.h"

namespace quillmere {

// The seven attributes of one field definition.
struct FieldDefinition {
    std::string label;
    std::string dataType;
    std::string modifiable;
    std::string userInterface;
    std::string zoom;
    std::string hyperlink;
    std::string isNew;
};

// Values that field validation remembers from one field to the next (and across calls).
struct ValidationMemory {
    std::string configuration;
    std::string object;
    std::string interrupted;
    std::string orderStatus;
    std::string activityStatus;
};

struct ModuleState {
    platform::xml::Document orderStore;
    platform::xml::Document fieldMapper;
    FieldDefinition currentFieldDefinition;
    std::string currentActivityDescription;
    std::string currentDatabaseName;  // filled from "Currentmdb" at start-up
    std::string currentMasterDataFile;
    std::unique_ptr<platform::db::Connection> masterData;
    ValidationMemory validation;
};

// The module state of the calling thread.
ModuleState& threadModuleState();

}  // namespace quillmere
