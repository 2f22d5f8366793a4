#pragma once
// A strict XML 1.0 parser's verdict on a file: libxml2's xmllint, run as a program.
#include <filesystem>
#include <string>

#include "tests/support/run_program.h"

namespace sync_testing {

// Empty when the file is well-formed XML 1.0, else what xmllint says about it.
inline std::string StrictXmlErrors(const std::filesystem::path& file) {
    const std::filesystem::path scratch = std::filesystem::temp_directory_path();
    const testing_support::ProgramRun run = testing_support::runProgram(
        "/usr/bin/xmllint", {"--noout", "--nonet", file.string()}, scratch.string());
    if (run.exitCode == 0) return {};
    return "xmllint exit " + std::to_string(run.exitCode) + ": " + run.err;
}

}  // namespace sync_testing
