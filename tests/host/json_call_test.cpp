// One call written as JSON (a line of `quillmere batch`, the body of POST /api/call): which
// texts are calls, how arguments arrive, what comes back.
#include "tools/quillmere/json_call.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "component/core/method_bindings.h"
#include "tests/support/temp_root.h"

namespace {

using quillmere::tool::answerJsonCall;

class JsonCall : public ::testing::Test {
  protected:
    JsonCall() : client(quillmere::CreateClient20(temp.root(), messages)) {
        answer(R"(["Initialize"])");
    }

    std::string answer(std::string_view call) { return answerJsonCall(*client, call); }

    static std::string methodUsage(const char* method) {
        const std::string usage =
            quillmere::tool::methodUsage(*quillmere::findMethod(std::string_view(method)));
        return nlohmann::json{{"usage", usage}}.dump();
    }

    testing_support::TempRoot temp;
    platform::StandardErrorMessageSink messages;
    std::unique_ptr<quillmere::Client20> client;
};

TEST_F(JsonCall, TextsThatAreNoCallGetTheShape) {
    const std::string shape = R"({"usage":"each line is a JSON array [\"METHOD\", arg, ...]"})";
    for (const char* text :
         {"not json", "{}", "[]", "[1]", "\"GetVariable\"", R"([["GetVariable"], "Mode"])",
          R"(["GetVariable", "Mode"] x)", R"(["GetVariable", "Mode")", R"(["GetVariable", "\x"])",
          "[\"GetVariable\", \"a\x01b\"]", "[\"GetVariable\", \"\xff\"]",
          R"(["GetVariable", [[[["Mode"]]]]])"})
        EXPECT_EQ(answer(text), shape) << text;
    EXPECT_EQ(answer(R"(["NoSuchMethod"])"), R"({"usage":"unknown method NoSuchMethod"})");
}

TEST_F(JsonCall, ArgumentsWithoutAVariantFormGetTheMethodsUsage) {
    for (const char* text :
         {R"(["GetVariable"])", R"(["GetVariable", "Mode", "x"])", R"(["GetVariable", 1.5])",
          R"(["GetVariable", 32768])", R"(["GetVariable", -32769])",
          R"(["GetVariable", 18446744073709551616])", R"(["GetVariable", ["Mode"]])",
          R"(["GetVariable", {"a": "Mode"}])"})
        EXPECT_EQ(answer(text), methodUsage("GetVariable")) << text;
}

TEST_F(JsonCall, ArgumentsArriveAsWritten) {
    // Escapes, a character outside the basic plane and a long text all arrive unchanged.
    const std::string mode = "a\"b\\c/\n\t\u00e9\U0001F600 " + std::string(5000, 'x');
    const std::string setMode = nlohmann::json::array({"Set_Mode", mode}).dump();
    EXPECT_EQ(answer(setMode), R"({"result":null,"byref":{}})");
    const nlohmann::ordered_json expected = {{"result", mode}, {"byref", nlohmann::json::object()}};
    EXPECT_EQ(answer(R"(["GetVariable", "Mode"])"), expected.dump());
    EXPECT_EQ(answer(R"(["Set_Mode", "\u00e9\ud83d\ude00"])"), R"({"result":null,"byref":{}})");
    EXPECT_EQ(answer(R"(["GetVariable", "Mode"])"),
              "{\"result\":\"\u00e9\U0001F600\",\"byref\":{}}");

    // The 16-bit range is accepted whole; a number reaches a text parameter as its digits.
    for (const char* call : {R"(["GetVariable", -32768])", R"(["GetVariable", 32767])"})
        EXPECT_EQ(answer(call), R"({"result":"","byref":{}})") << call;
}

}  // namespace
