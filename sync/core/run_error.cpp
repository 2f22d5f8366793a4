#include "sync/core/run_error.h"

#include "sync/core/password_mask.h"
#include "sync/erp/datasource.h"

namespace brindlemoor {

int32_t ErrorNumber(uint32_t code) {
    // The runtime's own errors (facility 0x0A) are numbered by their low word.
    if ((code & 0xFFFF0000u) == 0x800A0000u) return static_cast<int32_t>(code & 0xFFFFu);
    return static_cast<int32_t>(code);
}

namespace {

RunError describe() {
    try {
        throw;
    } catch (const SourcedError& error) {
        return {ErrorNumber(error.code()), error.source(), error.description()};
    } catch (const erp::DatasourceError& error) {
        return {ErrorNumber(error.code()), erp::DatasourceError::source(), error.description()};
    } catch (const platform::PlatformError& error) {
        return {ErrorNumber(error.code()), std::string(kProgramSource), error.description()};
    } catch (const std::bad_alloc&) {
        return {7, std::string(kProgramSource), "Out of memory"};
    } catch (const std::exception& error) {
        return {kGeneralFailureNumber, std::string(kProgramSource), error.what()};
    } catch (...) {
        return {kGeneralFailureNumber, std::string(kProgramSource), "Unspecified failure"};
    }
}

}  // namespace

RunError DescribeCurrentException() {
    RunError error = describe();
    // A failure to connect may quote the connection string it was given.
    error.description = MaskPasswords(error.description);
    return error;
}

}  // namespace brindlemoor
