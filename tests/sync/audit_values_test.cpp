// The values of an audit record: plain records are read without the JSON parser, everything
// else through it, and both must read the same text alike.
#include "sync/erp/audit_values.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using brindlemoor::erp::AuditValues;
using brindlemoor::erp::Value;
using ::testing::HasSubstr;

// "n:<number>", "t:<text>" or "-" for nothing, per field.
std::vector<std::string> read(const std::string& text, const std::vector<std::string>& fields) {
    const AuditValues values = AuditValues::parse(text);
    std::vector<std::string> found;
    for (const std::string& field : fields) {
        const Value value = values.get(field);
        found.push_back(value.isNumber() ? "n:" + value.asText()
                        : value.isText() ? "t:" + value.asText()
                                         : "-");
    }
    return found;
}

TEST(AuditValues, PlainAndOtherSpellingsReadAlike) {
    const std::vector<std::string> fields{"cuni", "dsca", "tccu", "neg", "yes", "no", "none", "x"};
    const std::vector<std::string> expected{"t:kg", "t:kilo gram", "n:5", "n:-7",
                                            "n:1",  "n:0",         "-",   "-"};
    EXPECT_EQ(read(R"( {"cuni": "kg", "dsca": "kilo gram", "tccu": 5, "neg": -7, "yes": true,
                        "no": false, "none": null} )",
                   fields),
              expected);
    // Escapes, an exponent and a float that is whole go through the JSON parser.
    EXPECT_EQ(read(R"({"cuni": "k\u0067", "dsca": "kilo\u0020gram", "tccu": 5e0, "neg": -7.0,
                       "yes": true, "no": false, "none": null})",
                   fields),
              expected);
    EXPECT_EQ(read("{}", fields), std::vector<std::string>(fields.size(), "-"));
}

TEST(AuditValues, ValuesBeyondPlainRecords) {
    EXPECT_EQ(read(R"({"a": 1.5, "b": "caf\u00e9", "c": "café", "d": [1, {"z": 2, "y": 3}],
                       "e": 12345678901234567890, "f": -1234567890123456789, "g": 0, "h": -0})",
                   {"a", "b", "c", "d", "e", "f", "g", "h"}),
              (std::vector<std::string>{"t:1.5", "t:café", "t:café", R"(t:[1,{"y":3,"z":2}])",
                                        "n:-6101065172474983726", "n:-1234567890123456789", "n:0",
                                        "n:0"}));
}

TEST(AuditValues, AFieldNamedTwiceHasItsLastValue) {
    EXPECT_EQ(read(R"({"a": "1", "b": 2, "a": "3"})", {"a", "b"}),
              (std::vector<std::string>{"t:3", "n:2"}));
    EXPECT_EQ(read(R"({"a": "1", "b": 2.5, "a": "3"})", {"a", "b"}),
              (std::vector<std::string>{"t:3", "t:2.5"}));
}

TEST(AuditValues, TextThatIsNoJsonObjectIsRefused) {
    for (const char* text :
         {R"({"a": 01})", R"({"a": "x",})", R"({"a" "x"})", R"({"a": 1} x)", "{\"a\": \"\x01\"}",
          R"({"a": tru})", R"({"a": -})", R"({a: 1})", R"({"a": 1)", "\xef\xbb\xbf{\"a\": 1}x"}) {
        SCOPED_TRACE(text);
        EXPECT_THROW(AuditValues::parse(text), std::exception);
    }
    try {
        AuditValues::parse(R"({"a": 01})");
        FAIL() << "a leading zero was accepted";
    } catch (const std::exception& error) {
        EXPECT_THAT(error.what(), HasSubstr("parse error"));
    }
    try {
        AuditValues::parse("[1, 2]");
        FAIL() << "a list was accepted";
    } catch (const std::exception& error) {
        EXPECT_STREQ(error.what(), "not a JSON object");
    }
}

}  // namespace
