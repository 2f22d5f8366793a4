#pragma once
// Texts the transfers read besides the ERP's values: descriptions of codes from the server
// database (LookupDescription) and the localized texts of ERP enumeration values.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/db/database.h"
#include "platform/machine_root.h"
#include "sync/core/server_table.h"
#include "sync/core/transfer_particulars.h"

namespace brindlemoor {

// The connection string of the description look-ups: the data source alone, so that the user
// and password it names are the ones used. A fixed user (the look-ups were once written with
// "UID=wwwapps;pwd=;", which a database without users ignores) would take the place of the
// data source's own user on a server database that has users.
inline constexpr std::string_view kDescriptionDataSource = "DSN=Quillmere";

// Descriptions are read through the data source "Quillmere" on a connection of their own, so
// they see what earlier transfers committed. The connection and its prepared look-ups stay for
// the whole run. What a table holds does not change while another table is transferred, so
// the descriptions a run of changes needs are read together beforehand (prefetch) and
// remembered until forget().
class DescriptionLookup {
  public:
    explicit DescriptionLookup(platform::MachineRoot root);

    // NAMA for BUSINESSPARTNERS and ADDRESSES, DSCA for any other table; empty when the code
    // has no row or no description.
    std::string lookUp(std::string_view table, std::string_view keyColumn,
                       std::string_view keyValue, std::string_view company);

    // Reads the descriptions of `codes` with one statement per batch of codes. A failure is
    // not reported here: the look-up of the code on its own reports it when it comes to it.
    void prefetch(std::string_view table, std::string_view keyColumn,
                  const std::vector<std::string>& codes, std::string_view company);
    // Forgets every description read so far.
    void forget();

  private:
    KeyedRows& rowsOf(std::string_view table, std::string_view keyColumn);

    platform::MachineRoot root_;
    std::unique_ptr<platform::db::Connection> connection_;
    std::map<std::string, std::unique_ptr<KeyedRows>, std::less<>> tables_;
};

// The label key of an enumeration value; empty outside the enumeration's values.
std::string_view EnumerationLabel(Enumeration enumeration, int16_t value);

// Localized enumeration texts from I18NText in the run's locale. A label text does not change
// during a run, so each one is read once.
class EnumerationTexts {
  public:
    void setLocale(std::string locale) {
        locale_ = std::move(locale);
        texts_.clear();
    }

    // The text of an enumeration value; empty for a value outside the enumeration or a label
    // the locale lacks.
    std::string text(Enumeration enumeration, int16_t value, platform::db::Connection& server);

  private:
    std::string locale_;
    std::map<std::string, std::string, std::less<>> texts_;
};

}  // namespace brindlemoor
