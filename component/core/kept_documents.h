#pragma once
// The documents a resident instance keeps between calls. A document is kept only while its
// file is provably the one it was parsed from or saved to (device, inode, size, modification
// and change times in nanoseconds, checked under the install folder's lock when a call loads
// it); any other change to the file makes the next load parse it again. A call that fails
// forgets every kept document, and so does a changing call that loaded a document and did not
// save it afterwards: changes it made in memory never outlive the call, exactly as when every
// call loads its documents afresh.
#include <filesystem>
#include <optional>

#include "component/core/method_table.h"
#include "component/core/module_state.h"
#include "platform/xml/document.h"

namespace quillmere {

// The identity of the file; nullopt when it does not exist.
std::optional<FileIdentity> IdentityOf(const std::filesystem::path& file);

// Loads `file` into `document` unless the kept document already holds it; answers as
// Document::loadFile does.
bool LoadKeptDocument(ModuleState& state, KeptFile& kept, platform::xml::Document& document,
                      const std::filesystem::path& file);

// Saves `document` to `file` (atomically) and keeps it as the file's content.
void SaveKeptDocument(ModuleState& state, KeptFile& kept, platform::xml::Document& document,
                      const std::filesystem::path& file);

// The method frame's part: before a call, after a call that returned, after one that failed.
void BeginCallOnKeptDocuments(ModuleState& state);
void EndCallOnKeptDocuments(ModuleState& state, StateAccess access);
void ForgetKeptDocuments(ModuleState& state);

}  // namespace quillmere
