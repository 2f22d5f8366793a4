#pragma once
// A failure as the synchronizer's error handlers report it: number, source and description,
// numbered the way the runtime numbers its errors (runtime errors by their own number, other
// failures by their signed failure code, e.g. -2147467259 for 0x80004005).
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include "platform/failure.h"

namespace brindlemoor {

// The source of the program's own failures.
inline constexpr std::string_view kProgramSource = "Brindlemoor";

// The general failure, 0x80004005.
inline constexpr int32_t kGeneralFailureNumber = -2147467259;
// The datasource component cannot be created.
inline constexpr int32_t kCannotCreateObjectNumber = 429;
// Runtime error 58, "File already exists".
inline constexpr uint32_t kFileAlreadyExists = 0x800A003A;

// A platform failure that names where it came from (the shell's registry read, say).
class SourcedError : public platform::PlatformError {
  public:
    SourcedError(uint32_t code, const std::string& description, std::string source)
        : platform::PlatformError(code, description), source_(std::move(source)) {}
    const std::string& source() const { return source_; }

  private:
    std::string source_;
};

struct RunError {
    int32_t number = 0;
    std::string source;
    std::string description;
};

// The error number of a failure code.
int32_t ErrorNumber(uint32_t code);

// Describes the exception being handled (call inside a catch block), with every password in
// its description masked.
RunError DescribeCurrentException();

}  // namespace brindlemoor
