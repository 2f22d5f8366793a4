#pragma once
// Start-up of the component: the install folder, the registry settings with their defaults,
// the master-data data source, the log and an empty order store. It sets up every subsystem,
// so it sits above them all.
#include <string>

#include "component/core/session.h"
#include "component/core/variant.h"

namespace quillmere {

// The public method: the empty text on success, otherwise the failure text.
Variant Initialize(Session& session);

// True when the install folder is usable; on false `message` holds the failure text (the
// text of label::kDataNotStored when there is no drive C:).
bool EnsureInstallFolders(Session& session, std::string& message);

// Creates the component's key and every missing setting with its default, remembers
// "Currentmdb", then applies the data-access handler settings.
void EnsureRegistryDefaults(Session& session);

}  // namespace quillmere
