#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "component/core/method_bindings.h"
#include "platform/failure.h"
#include "platform/text_file.h"
#include "tests/component/support/component_fixture.h"

namespace {

namespace fs = std::filesystem;
using quillmere::CallOutcome;
using quillmere::Client20;
using quillmere::MethodHandlers;
using quillmere::Session;
using quillmere::Variant;
using Args = std::vector<Variant>;

constexpr int32_t kDispIdBase = 0x60030000;

// A Client20 on a fresh root whose methods are the test's own handlers.
class Frame : public ::testing::Test {
  protected:
    Frame() : client(temp.root(), messages, handlers) {}

    CallOutcome invoke(const std::string& name, Args& args) { return client.invoke(name, args); }
    CallOutcome invoke(const std::string& name, Args&& args) { return client.invoke(name, args); }

    testing_support::TempRoot temp;
    testing_support::RecordingMessageSink messages;
    MethodHandlers handlers;
    Client20 client;
    Args seen;  // the arguments the last handler received
};

TEST_F(Frame, TableHasFiftySevenMethodsAndNothingAtPosition27) {
    const auto& declarations = quillmere::methodDeclarations();
    EXPECT_EQ(declarations.size(), 57u);
    std::set<int> positions;
    for (const auto& method : declarations) positions.insert(method.position);
    EXPECT_EQ(positions.size(), 57u);
    EXPECT_EQ(*positions.begin(), 0);
    EXPECT_EQ(*positions.rbegin(), 57);
    EXPECT_EQ(positions.count(27), 0u);
    EXPECT_EQ(quillmere::findMethod(kDispIdBase + 27), nullptr);
    EXPECT_EQ(quillmere::findMethod(kDispIdBase + 39)->name, "StroreErrorOrders");
    EXPECT_EQ(quillmere::findMethod(kDispIdBase + 28)->name, "OpenDataBase");
    EXPECT_EQ(quillmere::findMethod(kDispIdBase + 58), nullptr);

    Args none;
    const CallOutcome outcome = client.invoke(0x6003001B, none);
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_EQ(outcome.code, platform::failure::kDispMemberNotFound);
}

TEST_F(Frame, NamesAreFoundWithoutRegardToCase) {
    quillmere::Bind(handlers, "Get_Error", [](Session&, Args&) { return Variant::text("found"); });
    for (const std::string name : {"Get_Error", "GET_ERROR", "get_error"})
        EXPECT_EQ(invoke(name, {}).result, Variant::text("found")) << name;
    const CallOutcome unknown = invoke("GetError", {});
    EXPECT_FALSE(unknown.succeeded);
    EXPECT_EQ(unknown.code, platform::failure::kDispUnknownName);
    EXPECT_EQ(quillmere::findMethod("stroreerrororders")->position, 39);
    EXPECT_EQ(quillmere::findMethod("StoreErrorOrders"), nullptr);
}

TEST_F(Frame, DispIdReachesTheSameMethod) {
    quillmere::Bind(handlers, "Set_Mode", [this](Session&, Args& a) {
        seen = a;
        return Variant();
    });
    Args args{Variant::text("Offline")};
    EXPECT_TRUE(client.invoke(kDispIdBase + 25, args).succeeded);
    EXPECT_EQ(seen, Args{Variant::text("Offline")});
}

TEST_F(Frame, WrongArgumentCountFailsWithoutRunningTheLogic) {
    bool ran = false;
    quillmere::Bind(handlers, "Set_Mode", [&](Session&, Args&) {
        ran = true;
        return Variant();
    });
    EXPECT_EQ(invoke("Set_Mode", {}).code, platform::failure::kDispBadParamCount);
    EXPECT_EQ(invoke("Set_Mode", {Variant::text("a"), Variant::text("b")}).code,
              platform::failure::kDispBadParamCount);
    EXPECT_FALSE(ran);
}

TEST_F(Frame, UnboundMethodAnswersNotImplemented) {
    const CallOutcome outcome = invoke("OpenDataBase", {});
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_EQ(outcome.code, platform::failure::kNotImplemented);
}

TEST_F(Frame, ArgumentsArriveAsTheDeclaredTypes) {
    quillmere::Bind(handlers, "GetDetails", [this](Session&, Args& a) {
        seen = a;
        return Variant();
    });
    auto details = [&](Variant iError) {
        return invoke("GetDetails", {Variant::int16(3), Variant::boolean(true), Variant(),
                                     Variant::text("x"), Variant::text("<a/>"), iError});
    };
    ASSERT_TRUE(details(Variant::text("-32768")).succeeded);
    EXPECT_EQ(seen, (Args{Variant::text("3"), Variant::text("True"), Variant::text(""),
                          Variant::text("x"), Variant::text("<a/>"), Variant::int16(-32768)}));
    details(Variant::text("32767"));
    EXPECT_EQ(seen.back(), Variant::int16(32767));
    details(Variant::boolean(true));
    EXPECT_EQ(seen.back(), Variant::int16(-1));

    EXPECT_EQ(details(Variant::text("32768")).code, platform::failure::kOverflow);
    EXPECT_EQ(details(Variant::text("-32769")).code, platform::failure::kOverflow);
    for (const std::string bad : {"", "abc", "1.5", "12x", " 1"})
        EXPECT_EQ(details(Variant::text(bad)).code, platform::failure::kDispTypeMismatch) << bad;
}

TEST_F(Frame, VariantParametersPassUnchanged) {
    quillmere::Bind(handlers, "deleteNode", [this](Session&, Args& a) {
        seen = a;
        return Variant::boolean(true);
    });
    const Args args{Variant::int16(5), Variant(), Variant::text("10"), Variant::boolean(false)};
    const CallOutcome outcome = invoke("deleteNode", Args(args));
    EXPECT_EQ(seen, args);
    EXPECT_EQ(outcome.result, Variant::boolean(true));
}

TEST_F(Frame, ByReferenceParametersAreHandedBackAndOthersAreNot) {
    quillmere::Bind(handlers, "getColumnHeadingsForHRA", [](Session&, Args& a) {
        a[0] = Variant::int16(static_cast<int16_t>(a[0].asInt16() + 4));
        a[1] = Variant::text("changed");
        return Variant::text("<th/>");
    });
    Args args{Variant::text("3"), Variant::text("labr")};
    const CallOutcome outcome = invoke("getColumnHeadingsForHRA", args);
    ASSERT_TRUE(outcome.succeeded);
    EXPECT_EQ(outcome.result, Variant::text("<th/>"));
    EXPECT_EQ(args, (Args{Variant::int16(7), Variant::text("labr")}));

    quillmere::Bind(handlers, "SetCurrentmdb", [](Session&, Args& a) {
        a[0] = Variant::text(a[0].asText() + ".mdb");
        return Variant();
    });
    Args name{Variant::text("SC1")};
    invoke("SetCurrentmdb", name);
    EXPECT_EQ(name, Args{Variant::text("SC1.mdb")});
}

TEST_F(Frame, ResultsTakeTheDeclaredType) {
    quillmere::Bind(handlers, "ListOrders", [](Session&, Args&) { return Variant(); });
    quillmere::Bind(handlers, "LocalXmlExists", [](Session&, Args&) { return Variant(); });
    quillmere::Bind(handlers, "CompleteOrder", [](Session&, Args&) { return Variant(); });
    quillmere::Bind(handlers, "MasterData", [](Session&, Args&) { return Variant::int16(12); });
    EXPECT_EQ(invoke("ListOrders", {}).result, Variant::text(""));
    EXPECT_EQ(invoke("LocalXmlExists", {}).result, Variant::boolean(false));
    EXPECT_EQ(invoke("CompleteOrder", {}).result, Variant());
    EXPECT_EQ(invoke("MasterData", {Variant::text("x")}).result, Variant::text("12"));
}

TEST_F(Frame, FailureAfterSavingPartOfTheWorkKeepsThatPart) {
    const fs::path store = temp.dir() / "C" / "store.xml";
    quillmere::Bind(handlers, "updatexml", [store](Session&, Args& a) -> Variant {
        platform::writeFileAtomically(store, a[0].asText());
        throw platform::PlatformError(platform::failure::kObjectNotSet, "Object variable not set");
    });
    const CallOutcome outcome = invoke("updatexml", {Variant::text("<saved/>")});
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_EQ(outcome.code, platform::failure::kObjectNotSet);
    EXPECT_EQ(outcome.description, "Object variable not set");
    EXPECT_EQ(testing_support::readFile(store), "<saved/>");

    // Any other failure of the logic becomes the general failure code; the call still returns.
    quillmere::Bind(handlers, "AddXml",
                    [](Session&, Args&) -> Variant { throw std::out_of_range("index"); });
    const CallOutcome general = invoke("AddXml", {Variant::text("")});
    EXPECT_FALSE(general.succeeded);
    EXPECT_EQ(general.code, platform::failure::kGeneral);
}

TEST(ComponentTable, EveryCoreMethodIsBoundAndStroreErrorOrdersIsReachable) {
    const MethodHandlers& table = quillmere::ComponentMethodHandlers();
    for (const char* name :
         {"Initialize", "SaveWebPage", "Get_Error", "GetVariable", "RegisterDownloadPath",
          "LocalXmlExists", "Set_Mode", "GetI18NString", "GetMailContent", "SetHomePage"})
        EXPECT_TRUE(table[static_cast<size_t>(quillmere::findMethod(name)->position)]) << name;
    EXPECT_FALSE(table[27]);
    MethodHandlers local;
    EXPECT_THROW(quillmere::Bind(local, "get_error", {}), std::logic_error);
}

}  // namespace
