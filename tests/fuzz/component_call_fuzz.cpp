// Fuzz target: one method of the component that parses outside text, called with the input on
// a small machine. Built once per method (FUZZ_METHOD): a server download merged into the store
// (DownloadXml), an update record from the page (updatexml), the server's upload report
// (DownloadErrors) and a master-data change file (Synchronize_MasterData).
#include "tests/fuzz/fuzz_machine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::FuzzMachine& machine = fuzzing::FuzzMachine::instance();
    machine.reset();
    machine.callWith(FUZZ_METHOD, fuzzing::asText(data, size));
    machine.requireStateFilesParse();
    return 0;
}
