#pragma once
// Failures of the platform services. Inside the system a failed platform operation throws
// PlatformError; the method frame of the component turns it into the call's failure code and
// description. Handled failures never travel this way: they are result texts.
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace platform {

// HRESULT-style failure codes. The 0x800A.... codes are those the Windows scripting runtime
// reports for its own errors (facility "control", low word = runtime error number).
namespace failure {
inline constexpr uint32_t kGeneral = 0x80004005;               // unspecified failure (E_FAIL)
inline constexpr uint32_t kNotImplemented = 0x80004001;        // E_NOTIMPL
inline constexpr uint32_t kInvalidArgument = 0x80070057;       // E_INVALIDARG
inline constexpr uint32_t kOverflow = 0x800A0006;              // runtime error 6
inline constexpr uint32_t kSubscriptOutOfRange = 0x800A0009;   // runtime error 9
inline constexpr uint32_t kTypeMismatch = 0x800A000D;          // runtime error 13
inline constexpr uint32_t kFileNotFound = 0x800A0035;          // runtime error 53
inline constexpr uint32_t kBadFileMode = 0x800A0036;           // runtime error 54
inline constexpr uint32_t kPermissionDenied = 0x800A0046;      // runtime error 70
inline constexpr uint32_t kDeviceUnavailable = 0x800A0044;     // runtime error 68
inline constexpr uint32_t kPathNotFound = 0x800A004C;          // runtime error 76
inline constexpr uint32_t kObjectNotSet = 0x800A005B;          // runtime error 91
inline constexpr uint32_t kInvalidUseOfNull = 0x800A005E;      // runtime error 94
inline constexpr uint32_t kObjectRequired = 0x800A01A8;        // runtime error 424
inline constexpr uint32_t kInvalidProcedureCall = 0x800A0005;  // runtime error 5
inline constexpr uint32_t kRegistryKeyMissing = 0x80070002;    // ERROR_FILE_NOT_FOUND
inline constexpr uint32_t kDatabase = 0x80004005;              // database errors come as E_FAIL
inline constexpr uint32_t kXml = 0xC00CE500;                   // XML DOM failures

// Failures of the automation dispatch itself, before a method runs.
inline constexpr uint32_t kDispMemberNotFound = 0x80020003;  // DISP_E_MEMBERNOTFOUND
inline constexpr uint32_t kDispTypeMismatch = 0x80020005;    // DISP_E_TYPEMISMATCH
inline constexpr uint32_t kDispUnknownName = 0x80020006;     // DISP_E_UNKNOWNNAME
inline constexpr uint32_t kDispBadParamCount = 0x8002000E;   // DISP_E_BADPARAMCOUNT
}  // namespace failure

class PlatformError : public std::runtime_error {
  public:
    PlatformError(uint32_t code, const std::string& description)
        : std::runtime_error(description), code_(code) {}
    uint32_t code() const noexcept { return code_; }
    std::string description() const { return what(); }

  private:
    uint32_t code_;
};

// "0x" followed by eight upper-case hex digits, as failures are shown to callers.
std::string formatFailureCode(uint32_t code);

// The runtime's own failures, with the descriptions callers see; throw what they return.
PlatformError objectNotSet();      // "Object variable or With block variable not set"
PlatformError typeMismatch();      // "Type mismatch"
PlatformError overflow();          // "Overflow"
PlatformError invalidUseOfNull();  // "Invalid use of Null"
PlatformError pathNotFound(const std::filesystem::path& path);  // "Path not found: <path>"
// An argument that the dispatch cannot convert to its parameter's type: "Type mismatch" under
// kDispTypeMismatch (the runtime's own typeMismatch() is another code).
PlatformError argumentTypeMismatch();

}  // namespace platform
