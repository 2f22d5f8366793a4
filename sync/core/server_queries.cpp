#include "sync/core/server_queries.h"

#include <memory>

#include "platform/failure.h"
#include "platform/text.h"

namespace brindlemoor {

namespace db = platform::db;

namespace {

std::string text(const db::Value& value) {
    return value.value_or(std::string());
}

// Label texts of one range in label order, by position.
template <size_t N>
void readRange(db::Connection& server, const std::string& locale, std::string_view first,
               std::string_view last, std::array<std::string, N>& texts) {
    const std::unique_ptr<db::Statement> select = server.prepare(
        "select * from I18NText  where LOCALEID = ?" + std::string(" and LABEL BETWEEN ") + "'" +
        std::string(first) + "'" + " and " + "'" + std::string(last) + "'" + "ORDER BY LABEL");
    select->bind(0, locale);
    const db::Recordset rows = select->query();
    if (rows.rowCount() > N) {
        throw platform::PlatformError(platform::failure::kSubscriptOutOfRange,
                                      "Subscript out of range");
    }
    for (size_t i = 0; i < rows.rowCount(); ++i) texts[i] = text(rows.value(i, "TEXT"));
}

std::string readOne(db::Connection& server, const std::string& locale, std::string_view label) {
    const std::unique_ptr<db::Statement> select =
        server.prepare("select * from I18NText  where LOCALEID = ?" + std::string(" and LABEL = ") +
                       "'" + std::string(label) + "'" + "ORDER BY LABEL");
    select->bind(0, locale);
    const db::Recordset rows = select->query();
    return rows.empty() ? std::string() : text(rows.value(0, "TEXT"));
}

}  // namespace

std::string ReadUnattendedSetting(db::Connection& server) {
    const db::Recordset rows = server.query("select * from PARAMETERS WHERE PARAMNAME = '" +
                                            std::string("MDSyncAuto") + "'");
    std::string setting;
    for (size_t i = 0; i < rows.rowCount(); ++i)
        setting = platform::trimBlanks(text(rows.value(i, "PARAMVALUE")));
    return setting;
}

std::optional<std::string> ReadDefaultLanguage(db::Connection& server) {
    const db::Recordset rows = server.query("select * from PARAMETERS where PARAMNAME = '" +
                                            std::string("DefaultLanguage") + "'");
    if (rows.empty()) return std::nullopt;
    return std::string(platform::trimBlanks(text(rows.value(0, "PARAMVALUE"))));
}

LabelTexts ReadLabelTexts(db::Connection& server, const std::string& locale) {
    LabelTexts labels;
    readRange(server, locale, "SLBEU0461", "SLBEU0469", labels.run);
    readRange(server, locale, "SLBEU0191", "SLBEU0218", labels.captions);
    labels.noChange = readOne(server, locale, "SLBEU0085");
    labels.unitsCaption = readOne(server, locale, "SLBEU0171");
    return labels;
}

db::Value ReadFirstUserBusId(db::Connection& server, int16_t company) {
    const std::unique_ptr<db::Statement> firstUser = server.prepare(
        "SELECT  TOP 1 * FROM USERDEFAULTS WHERE COMP =?" + std::string(" order by LOGN"));
    firstUser->bind(0, std::to_string(company));
    return firstUser->query().value(0, "BISID");
}

std::string ReadBusAddress(db::Connection& sibling, const std::string& busId) {
    const std::unique_ptr<db::Statement> properties =
        sibling.prepare("SELECT * From BISPROPERTYVALUES Where BISID=?");
    properties->bind(0, busId);
    return properties->query().value(0, "VALUE").value_or(std::string());
}

}  // namespace brindlemoor
