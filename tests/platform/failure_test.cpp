#include "platform/failure.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(Failure, FactoriesCarryTheCodesAndTextsCallersSee) {
    const auto check = [](const PlatformError& error, uint32_t code, const std::string& text) {
        EXPECT_EQ(error.code(), code) << text;
        EXPECT_EQ(error.description(), text);
    };
    check(objectNotSet(), failure::kObjectNotSet, "Object variable or With block variable not set");
    check(typeMismatch(), failure::kTypeMismatch, "Type mismatch");
    check(argumentTypeMismatch(), failure::kDispTypeMismatch, "Type mismatch");
    check(overflow(), failure::kOverflow, "Overflow");
    check(invalidUseOfNull(), failure::kInvalidUseOfNull, "Invalid use of Null");
    check(pathNotFound("/r/C/x"), failure::kPathNotFound, "Path not found: /r/C/x");
    EXPECT_EQ(formatFailureCode(failure::kDispTypeMismatch), "0x80020005");
}

}  // namespace
}  // namespace platform
