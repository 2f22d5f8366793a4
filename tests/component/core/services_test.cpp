// The small services every method uses: last error, log lines, HTML escaping.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "component/core/details_link.h"
#include "component/core/html.h"
#include "component/core/last_error.h"
#include "component/core/log.h"
#include "platform/failure.h"
#include "tests/component/support/component_fixture.h"
#include "tests/support/failure_code.h"

namespace {

namespace fs = std::filesystem;
using platform::Hive;
using platform::RegistryValue;
using testing_support::ComponentMachine;

const std::string kComponentKey = "SOFTWARE\\Taviro\\Taviro Quillmere";

TEST(LastError, WritesOnlyAnExistingErrorValue) {
    ComponentMachine machine;
    quillmere::SetLastError(machine.session(), quillmere::kNoError);
    EXPECT_FALSE(fs::exists(machine.temp().dir() / "registry"));
    EXPECT_EQ(quillmere::ReadLastError(machine.session()), "");

    machine.call("Initialize");
    quillmere::SetLastError(machine.session(), "Order 7: \"quoted\" & <b>");
    EXPECT_EQ(quillmere::ReadLastError(machine.session()), "Order 7: \"quoted\" & <b>");
    const auto values = machine.registry().values(Hive::LocalMachine, kComponentKey);
    EXPECT_EQ(values[5], RegistryValue::string("Error", "Order 7: \"quoted\" & <b>"));

    machine.registry().deleteValue(Hive::LocalMachine, kComponentKey, "Error");
    quillmere::SetLastError(machine.session(), "x");
    EXPECT_FALSE(machine.registry().valueExact(Hive::LocalMachine, kComponentKey, "Error"));
}

TEST(Log, DetailLinesPutTwoBlanksBetweenLabelAndValue) {
    ComponentMachine machine;
    machine.call("Initialize");
    quillmere::LogDetail(machine.session(), quillmere::kErrorLabel, "Order not found");
    quillmere::LogDetail(machine.session(), quillmere::kXmlLabel, "<a/>");
    quillmere::LogDetail(machine.session(), quillmere::kModeLabel, "Offline");
    quillmere::LogLine(machine.session(), "New Data has been downloaded.");
    EXPECT_EQ(machine.log(),
              "Error =   Order not found\r\n"
              "iXml =   <a/>\r\n"
              " Mode =   Offline\r\n"
              "New Data has been downloaded.\r\n");
}

TEST(Log, NeedsAnExistingLogFile) {
    ComponentMachine machine;
    machine.call("Initialize");
    fs::remove(machine.installPath("log.txt"));
    EXPECT_EQ(testing_support::failureCodeOf(
                  [&] { quillmere::LogAction(machine.session(), "Download XML"); }),
              platform::failure::kFileNotFound);
    EXPECT_FALSE(fs::exists(machine.installPath("log.txt")));
}

TEST(HtmlEscape, MarkupCharactersBecomeEntities) {
    EXPECT_EQ(quillmere::HtmlText("a & b < c > d \"e\" 'f'"), "a &amp; b &lt; c &gt; d \"e\" 'f'");
    // Attributes are mostly unquoted: a blank, a quote or = must not end the value.
    EXPECT_EQ(quillmere::HtmlAttribute("a & b < c > d \"e\" 'f'"),
              "a&#32;&amp;&#32;b&#32;&lt;&#32;c&#32;&gt;&#32;d&#32;&quot;e&quot;&#32;&#39;f&#39;");
    EXPECT_EQ(quillmere::HtmlQuotedAttribute("a & b < c > d \"e\" 'f'"),
              "a &amp; b &lt; c &gt; d &quot;e&quot; 'f'");
    EXPECT_EQ(quillmere::HtmlText("&amp;"), "&amp;amp;");
    const std::string plain = "Order 10/2 \xC3\xA9t\xE9 = 5%";
    EXPECT_EQ(quillmere::HtmlText(plain), plain);
    EXPECT_EQ(quillmere::HtmlQuotedAttribute(plain), plain);
    const std::string code = "Order-10/2:\xC3\xA9t\xE9_5%";
    EXPECT_EQ(quillmere::HtmlAttribute(code), code);
    EXPECT_EQ(quillmere::HtmlAttribute(""), "");
}

TEST(HtmlEscape, PageFunctionArgumentsAreQuotedAndEscapedOnce) {
    using namespace quillmere;
    EXPECT_EQ(QuotedValue("a\"b<c"), "\"a\\x22b&lt;c\"");
    EXPECT_EQ(Quoted(EscapeHtmlValue(" x \"y\" ")), "\"x&nbsp;\"\"y\"\"\"");
    EXPECT_EQ(PageFunctionCall("zoom", {QuotedValue("Unit"), QuotedValue("order")}),
              "zoom(\"Unit\",\"order\")");
    EXPECT_EQ(PageFunctionCall("ShowErrors", {}), "ShowErrors()");
}

TEST(HtmlEscape, DetailsLinksCarryTheRecordAndThePurpose) {
    using namespace quillmere;
    const std::string show = ShowDetailsCall({"3", "O<1>", "10", "\"2\""}, DetailsPurpose::Show);
    EXPECT_EQ(show, "showdetails(\"3\",\"O&lt;1&gt;\",\"10\",\"\\x222\\x22\",\"2\")");
    EXPECT_EQ(ShowDetailsCall({"1", "7"}, DetailsPurpose::Correct, "showdetailsforhra"),
              "showdetailsforhra(\"1\",\"7\",\"\",\"\",\"1\")");
    EXPECT_EQ(DetailsLink("a b", "f()", "<b>x</b>"),
              "<span id=a&#32;b class=links onclick=javascript:f()><b>x</b></span>");
    EXPECT_EQ(DetailsLink("", "f()", ""), "<span id= class=links onclick=javascript:f()></span>");
    EXPECT_EQ(DetailsLink(std::nullopt, "f()", "x"),
              "<span class=links onclick=javascript:f()>x</span>");
}

}  // namespace
