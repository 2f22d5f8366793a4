#pragma once
// What the component keeps between calls on one thread: the shared documents, the current
// field definition, the master-data connection, the remembered validation values, the order
// numbers of refused entries and what the field definitions were last loaded from. Every
// Client20 object of a thread shares it; nothing in it is persisted, and the component keeps
// nothing between calls anywhere else.
#include <memory>
#include <optional>
#include <string>
#include <vector>

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

// A state file as the file system identifies it: a file replaced (atomically or by a restore),
// or written in place, since has another identity.
struct FileIdentity {
    unsigned long long device = 0;
    unsigned long long inode = 0;
    long long size = 0;
    long long modifiedNs = 0;
    long long changedNs = 0;
    bool operator==(const FileIdentity&) const = default;
};

// What a resident instance knows of a parsed state file it keeps between calls: the file the
// document was parsed from or last saved to, and whether the current call loaded it without
// saving it afterwards (a changing call that does so may have left changes in memory that the
// file does not hold, so the document is not kept past that call).
struct KeptFile {
    std::string path;
    std::optional<FileIdentity> identity;  // nullopt: the document is not kept
    bool loadedSinceSave = false;
};

// The bytes the field definitions were last parsed from, so that a load of the same bytes
// keeps the parsed document (see field_mapper_document.h).
struct FieldMapperLoad {
    std::string path;
    std::string bytes;
    bool loaded = false;
    bool valid = false;
};

struct ModuleState {
    // Set by an instance that lives across calls (the application host, `quillmere batch`): the
    // order store and the upload report stay parsed between calls while their files keep the
    // identity they had when parsed or saved (see component/core/kept_documents.h).
    bool keepDocuments = false;
    platform::xml::Document orderStore;
    KeptFile orderStoreFile;
    platform::xml::Document uploadReport;  // the last upload report loaded or saved
    KeptFile uploadReportFile;
    platform::xml::Document fieldMapper;
    FieldMapperLoad fieldMapperLoad;
    FieldDefinition currentFieldDefinition;
    std::string currentActivityDescription;
    std::string currentDatabaseName;  // filled from "Currentmdb" at start-up
    std::string currentMasterDataFile;
    std::unique_ptr<platform::db::Connection> masterData;
    ValidationMemory validation;
    // The order numbers of the upload report's refused entries, as StroreErrorOrders collects
    // them (component/errors/completed_orders.h).
    std::vector<std::string> errorOrders;
};

// The module state of the calling thread.
ModuleState& threadModuleState();

}  // namespace quillmere
