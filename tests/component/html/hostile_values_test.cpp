// Every fragment that places a stored value in an attribute, rendered once with a plain value and
// once with values that try to end the attribute and start another: an HTML5 parser must see
// the same elements with the same attributes in both.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/component/support/component_fixture.h"
#include "tests/component/support/store_markup.h"
#include "tests/support/html_attributes.h"

namespace {

using ::testing::Contains;
using ::testing::Field;
using ::testing::HasSubstr;

using testing_support::activity;
using testing_support::activityGroup;
using testing_support::AttributeNames;
using testing_support::ComponentMachine;
using testing_support::line;
using testing_support::lineGroup;
using testing_support::order;
using testing_support::ParseAttributes;
using testing_support::store;
using testing_support::text;

const std::string kPlain = "SO-9";
const std::string kHostileValues[] = {
    "SO-9 onmouseover=alert(7) x", "SO-9\tonfocus=alert(7)",
    "SO-9\nonclick=alert(7)",      "SO-9\ronblur=alert(7)",
    "SO-9'onkeyup=alert(7)",       "SO-9`onkeyup=alert(7)",
    "SO-9=x onload=alert(7)",      "SO-9><img src=x onerror=alert(7)>",
    "SO-9\"onclick=alert(7)",      "SO-9&x onclick=alert(7)",
};

// The value as an XML attribute or text, so that it reaches the component unchanged (a TAB, CR
// or LF written as it is would be normalized away by the store's parser).
std::string xmlEscaped(const std::string& value) {
    std::string out;
    for (char c : value) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\t':
                out += "&#9;";
                break;
            case '\n':
                out += "&#10;";
                break;
            case '\r':
                out += "&#13;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// One number for everything, and the same value in fields that render as hyperlinks.
std::string storeWith(const std::string& value) {
    const std::string v = xmlEscaped(value);
    // A labor line long enough for the hours lists, whose date is its ninth field.
    const std::string registration =
        line(v, "O",
             "<ServiceOrder/><Activity/><HourlyLaborType>" + v + "</HourlyLaborType><Task>" + v +
                 "</Task><Employee>" + v +
                 "</Employee><F5/><F6/><F7/>"
                 "<StartDate>20260101T0800</StartDate>");
    // The order's twentieth field says whether its activities are locked.
    std::string orderFields = "<SoldtoAddress>" + v + "</SoldtoAddress>";
    for (int field = 2; field < 19; ++field)
        orderFields += testing_support::element("F" + std::to_string(field), "x");
    orderFields += "<Locked>0</Locked>";
    return store({
        .orders = order(v, "O", "15", orderFields),
        .activities = activityGroup(
            v, "O",
            activity(v, "O", "15", "<Object>" + v + "</Object><Problem>" + v + "</Problem>")),
        .material = lineGroup(v, v, "O", line(v, "O", "<ServiceKit>" + v + "</ServiceKit>")),
        .labor = lineGroup(v, v, "O", registration) + lineGroup("", "", "O", registration),
        .other = lineGroup(v, v, "O", line(v, "O", "<Unit>" + v + "</Unit>")),
    });
}

std::string uploadReportWith(const std::string& value) {
    const std::string v = xmlEscaped(value);
    auto entry = [&](const std::string& activity, const std::string& costType,
                     const std::string& line) {
        return "<E ID=\"1\" Order=\"" + v + "\" Activity=\"" + activity + "\" CostLine=\"" + line +
               "\" CostType=\"" + costType + "\" Status=\"Error\" Description=\"" + v + "\"/>";
    };
    return "<Report><G File=\"a.xml\" Status=\"Error\">" + entry("", "", "") + entry(v, "", "") +
           entry(v, "Material", v) + entry(v, "Labor", v) + "</G></Report>";
}

struct Fragment {
    std::string method;
    std::vector<std::string> arguments;  // "$" stands for the value
};

const Fragment kFragments[] = {
    {"MyActivities", {""}},
    {"ListOrders", {}},
    {"ViewOrders_W", {}},
    {"ViewActivities_W", {}},
    {"ListCostLines", {"Material", "$", "$"}},
    {"ListCostLines", {"Labor", "$", "$"}},
    {"ListCostLines", {"Other", "$", "$"}},
    {"BuildCostLines", {"1", "$", "$"}},
    {"CostLinesHeader", {"$", "$"}},
    {"ListHRALines", {"", "", ""}},
    {"ShowErrorList", {}},
    {"CreateOrderDropDown", {}},
    {"CreateActivityDropDown", {"$"}},
    {"CreateForm", {"2", "$", ""}},
    {"CreateForm", {"3", "$", "$"}},
    {"NewObject", {"3", "$", "$"}},
};

// GetDetails of each kind, with the value as every number.
const std::vector<std::string> kDetailKinds = {"1", "2", "3", "4", "5"};

class HostileValuesTest : public ::testing::Test {
  protected:
    void SetUp() override { machine.initializeWithFieldMapper(); }

    void storeValue(const std::string& value) {
        machine.writeInstallFile("ZudivevEzored.xml", storeWith(value));
        machine.writeInstallFile("UploadReport.xml", uploadReportWith(value));
    }
    std::string render(const Fragment& fragment, const std::string& value) {
        std::vector<quillmere::Variant> args;
        for (const std::string& argument : fragment.arguments)
            args.push_back(text(argument == "$" ? value : argument));
        return machine.callText(fragment.method, std::move(args));
    }
    std::string details(const std::string& kind, const std::string& value) {
        return machine.callText("GetDetails",
                                {text(kind), text(value), text(kind == "1" ? "" : value),
                                 text(kind == "1" || kind == "2" ? "" : value), text(""),
                                 quillmere::Variant::int16(0)});
    }

    ComponentMachine machine;
};

TEST_F(HostileValuesTest, ValuesAddNoAttributeToAnyFragment) {
    std::vector<std::string> plainFragments;
    storeValue(kPlain);
    for (const Fragment& fragment : kFragments) plainFragments.push_back(render(fragment, kPlain));
    for (const std::string& kind : kDetailKinds) plainFragments.push_back(details(kind, kPlain));
    // Every fragment shows the value somewhere, so none is compared while empty.
    for (const std::string& html : plainFragments) EXPECT_THAT(html, HasSubstr(kPlain));

    for (const std::string& hostile : kHostileValues) {
        storeValue(hostile);
        size_t index = 0;
        for (const Fragment& fragment : kFragments) {
            SCOPED_TRACE(fragment.method + " with " + hostile);
            const std::string html = render(fragment, hostile);
            EXPECT_EQ(AttributeNames(html), AttributeNames(plainFragments[index++])) << html;
        }
        for (const std::string& kind : kDetailKinds) {
            SCOPED_TRACE("GetDetails " + kind + " with " + hostile);
            const std::string html = details(kind, hostile);
            EXPECT_EQ(AttributeNames(html), AttributeNames(plainFragments[index++])) << html;
        }
    }
}

// The page receives the value itself: a browser decodes the references back to the value.
TEST_F(HostileValuesTest, ThePageFunctionsReceiveTheValueUnchanged) {
    const std::string hostile = kHostileValues[0];
    storeValue(hostile);
    const std::string html = machine.callText("ListOrders");
    EXPECT_THAT(ParseAttributes(html), Contains(Field(&testing_support::ParsedAttribute::value,
                                                      "javascript:showdetails(\"1\",\"" + hostile +
                                                          "\",\"\",\"\",\"2\")")));
    EXPECT_THAT(ParseAttributes(html),
                Contains(Field(&testing_support::ParsedAttribute::value, hostile)));
    EXPECT_THAT(html, HasSubstr("<span id=SO-9&#32;onmouseover&#61;alert(7)&#32;x class=links"));
}

}  // namespace
