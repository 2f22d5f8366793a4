#pragma once
// brindlemoor --check: reads a server root the way a run reads it and says, item by item,
// whether a run can work with it, and if not, what is wrong and how to fix it. It changes
// nothing: no file, folder, registry value or database row is written.
#include <ostream>

#include "platform/machine_root.h"

namespace brindlemoor {

// Writes one line per item to `out` ("OK    item: detail" or "FAIL  item: problem. Fix: how"),
// then a closing line. Passwords in connection strings are masked. 0 when every item is OK,
// 1 otherwise.
int CheckServer(const platform::MachineRoot& root, std::ostream& out);

}  // namespace brindlemoor
