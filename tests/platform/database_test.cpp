#include "platform/db/database.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/failure.h"
#include "platform/registry.h"
#include "tests/support/postgres_cluster.h"
#include "tests/support/temp_root.h"

namespace platform::db {
namespace {

using ::testing::HasSubstr;

namespace fs = std::filesystem;
using testing_support::readFile;
using testing_support::writeFile;

const std::string kDataSources = "SOFTWARE\\ODBC\\odbc.ini\\";

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The description of the database failure `action` throws. A test fails when it throws nothing
// or a failure with another code.
std::string databaseError(const std::function<void()>& action) {
    try {
        action();
    } catch (const PlatformError& error) {
        EXPECT_EQ(error.code(), failure::kDatabase) << error.what();
        return error.description();
    }
    ADD_FAILURE() << "no PlatformError was thrown";
    return "";
}

std::vector<std::string> lowerColumns(const Recordset& records) {
    std::vector<std::string> names;
    for (const std::string& name : records.columns()) names.push_back(lower(name));
    return names;
}

int64_t countRows(Connection& connection, const std::string& table) {
    return std::stoll(connection.query("SELECT COUNT(*) AS N FROM " + table).value(0, "N").value());
}

// Checks shared by both drivers. PostgreSQL folds unquoted names to lower case, so names are
// compared without regard to case.

void createPeople(Connection& connection) {
    connection.execute("CREATE TABLE PEOPLE (ID INTEGER, NAME VARCHAR(50), NOTE VARCHAR(50))");
    connection.execute("INSERT INTO PEOPLE VALUES (1, 'Ann', NULL)");
    connection.execute("INSERT INTO PEOPLE VALUES (2, 'Bob', '')");
    connection.execute("INSERT INTO PEOPLE VALUES (3, 'Cyd', 'x')");
}

void expectRowsKeepNullsAndColumnOrder(Connection& connection) {
    createPeople(connection);
    const Recordset table = connection.query("PEOPLE");  // a bare table name reads it all
    EXPECT_EQ(lowerColumns(table), (std::vector<std::string>{"id", "name", "note"}));
    ASSERT_EQ(table.rowCount(), 3u);

    const Recordset picked = connection.query("SELECT NOTE, ID FROM PEOPLE ORDER BY ID");
    EXPECT_EQ(lowerColumns(picked), (std::vector<std::string>{"note", "id"}));
    EXPECT_EQ(picked.row(0), (std::vector<Value>{std::nullopt, "1"}));
    EXPECT_EQ(picked.value(1, "NOTE"), Value(""));  // empty text is not NULL
    EXPECT_EQ(picked.value(2, "note"), Value("x"));
    EXPECT_EQ(picked.columnIndex("Id"), 1u);
    EXPECT_EQ(picked.columnIndex("NAME"), std::nullopt);
    EXPECT_EQ(databaseError([&] { picked.value(0, "NAME"); }),
              "Item cannot be found in the collection corresponding to the requested name or "
              "ordinal.");
}

void expectTopAndFailures(Connection& connection) {
    createPeople(connection);
    const Recordset top =
        connection.query("SELECT  TOP 2 * FROM PEOPLE WHERE ID > 0 order by ID desc");
    ASSERT_EQ(top.rowCount(), 2u);
    EXPECT_EQ(top.value(0, "ID"), Value("3"));
    EXPECT_EQ(top.value(1, "ID"), Value("2"));

    EXPECT_THAT(lower(databaseError([&] { connection.query("SELECT * FROM NOWHERE"); })),
                HasSubstr("nowhere"));
    EXPECT_FALSE(
        databaseError([&] { connection.execute("INSERT INTO PEOPLE (NOPE) VALUES (1)"); }).empty());
    for (const char* blank : {"", "   \n"}) {
        databaseError([&] { connection.query(blank); });
        databaseError([&] { connection.execute(blank); });
        databaseError([&] { connection.prepare(blank); });
    }
}

void expectApostropheRoundTrip(Connection& connection) {
    createPeople(connection);
    const std::string name = "O'Brien's";
    connection.execute("INSERT INTO PEOPLE (ID, NAME) VALUES (9, " + quote(name) + ")");
    const Recordset found =
        connection.query("SELECT ID, NAME FROM PEOPLE WHERE NAME = '" + escapeQuotes(name) + "'");
    ASSERT_EQ(found.rowCount(), 1u);
    EXPECT_EQ(found.value(0, "NAME"), Value(name));
}

void expectPreparedStatementReuse(Connection& connection) {
    createPeople(connection);
    const auto insert = connection.prepare("INSERT INTO PEOPLE (ID, NAME) VALUES (?, ?)");
    {
        Transaction transaction(connection);
        for (int id = 100; id < 600; ++id) {
            insert->bindAll({std::to_string(id), "n" + std::to_string(id)});
            ASSERT_EQ(insert->execute(), 1);
        }
        transaction.commit();
    }
    EXPECT_EQ(countRows(connection, "PEOPLE"), 503);

    // Bindings do not carry over to the next run: an unbound parameter is NULL.
    insert->bind(0, "700");
    insert->execute();
    EXPECT_EQ(connection.query("SELECT NAME FROM PEOPLE WHERE ID = 700").value(0, "NAME"),
              std::nullopt);

    const auto select = connection.prepare("SELECT NAME FROM PEOPLE WHERE ID = ? OR NAME = '?'");
    select->bind(0, "2");
    EXPECT_EQ(select->query().value(0, "NAME"), Value("Bob"));
    select->bind(0, "3");
    EXPECT_EQ(select->query().value(0, "NAME"), Value("Cyd"));
    EXPECT_EQ(databaseError([&] { select->bind(1, "x"); }),
              "Parameter 1 is out of range; the statement has 1 parameters.");

    const auto update = connection.prepare("UPDATE PEOPLE SET NOTE = ? WHERE ID < ?");
    update->bindAll({"low", "3"});
    EXPECT_EQ(update->execute(), 2);
}

// A statement planned for every run answers like a prepared one, run after run, and its
// faults show when it is prepared.
void expectReplannedStatementsLikePrepared(Connection& connection) {
    createPeople(connection);
    const auto insert = connection.prepare("INSERT INTO PEOPLE (ID, NAME) VALUES (?, ?)");
    const auto some =
        connection.prepareReplanned("SELECT NAME FROM PEOPLE WHERE ID IN (?, ?, ?) ORDER BY NAME");
    Transaction transaction(connection);
    for (int id = 10; id < 40; ++id) {
        insert->bindAll({std::to_string(id), "p" + std::to_string(id)});
        insert->execute();
        some->bindAll({"1", std::to_string(id), "9999"});
        const Recordset found = some->query();
        ASSERT_EQ(found.rowCount(), 2u);
        EXPECT_EQ(found.value(1, "NAME"), Value("p" + std::to_string(id)));
    }
    transaction.commit();
    databaseError([&] { connection.prepareReplanned("SELECT NOPE FROM PEOPLE WHERE ID = ?"); });
}

void expectTransactionsEndCleanly(Connection& connection) {
    createPeople(connection);
    {
        Transaction transaction(connection);
        connection.execute("DELETE FROM PEOPLE");
        EXPECT_EQ(countRows(connection, "PEOPLE"), 0);
    }  // destroyed without commit: rolled back
    EXPECT_EQ(countRows(connection, "PEOPLE"), 3);

    {
        Transaction transaction(connection);
        databaseError([&] { connection.begin(); });  // no nesting
        connection.rollback();  // the destructor's own rollback then fails, silently
    }
    databaseError([&] { connection.commit(); });  // nothing to commit
    EXPECT_EQ(countRows(connection, "PEOPLE"), 3);
}

void expectTableNamesInNameOrder(Connection& connection) {
    EXPECT_EQ(connection.tableNames(), std::vector<std::string>{});
    connection.execute("CREATE TABLE ZONES (A TEXT); CREATE TABLE AREAS (A TEXT)");
    connection.execute("CREATE INDEX AREAS_A ON AREAS (A)");
    std::vector<std::string> names = connection.tableNames();
    for (std::string& name : names) name = lower(name);
    EXPECT_EQ(names, (std::vector<std::string>{"areas", "zones"}));
}

class DatabaseTest : public ::testing::Test {
  protected:
    // An empty file is a valid SQLite database without tables.
    fs::path createDatabaseFile(const std::string& windowsPath) {
        const fs::path path = temp_.map(windowsPath);
        writeFile(path, "");
        return path;
    }

    void addDataSource(const std::string& name, const std::vector<RegistryValue>& values) {
        Registry registry(temp_.root());
        registry.createKey(Hive::LocalMachine, kDataSources + name);
        for (const RegistryValue& value : values) {
            registry.setValue(Hive::LocalMachine, kDataSources + name, value);
        }
    }

    std::unique_ptr<Connection> connect(const std::string& connectionString) {
        return db::connect(connectionString, temp_.root());
    }

    testing_support::TempRoot temp_;
};

TEST_F(DatabaseTest, DataSourceWithWindowsPathOpensThatFile) {
    const fs::path file = createDatabaseFile("C:\\Data\\Shop.mdb");
    addDataSource("Shop", {RegistryValue::string("Driver", "C:\\Windows\\system32\\odbcjt32.dll"),
                           RegistryValue::string("DBQ", "c:\\data\\shop.mdb")});

    const auto connection = connect("dsn = SHOP;UID=admin;PWD={a;b}");
    EXPECT_EQ(connection->dialect(), Dialect::SQLite);
    connection->execute("CREATE TABLE UNITS (CODE TEXT)");
    connection->execute("INSERT INTO UNITS VALUES ('kg')");

    // The data landed in the mapped file, not in some new one.
    const auto direct = connect("sqlite:" + file.string());
    EXPECT_EQ(direct->query("UNITS").value(0, "CODE"), Value("kg"));
}

TEST_F(DatabaseTest, DataSourceAcceptsDatabaseValueWithLinuxPath) {
    const fs::path file = createDatabaseFile("C:\\Other.mdb");
    addDataSource("Other", {RegistryValue::string("database", file.string())});
    EXPECT_EQ(connect("DSN=Other")->query("SELECT 1 AS ONE").value(0, "ONE"), Value("1"));
}

TEST_F(DatabaseTest, MissingDataSourceOrFileFailsWithoutCreatingAnything) {
    EXPECT_THAT(databaseError([&] { connect("DSN=Nowhere"); }), HasSubstr("Nowhere"));
    databaseError([&] { connect("DSN="); });
    databaseError([&] { connect("UID=admin"); });

    addDataSource("Gone", {RegistryValue::string("DBQ", "C:\\Data\\Gone.mdb")});
    const std::string message = databaseError([&] { connect("DSN=Gone"); });
    EXPECT_THAT(message, HasSubstr("Gone.mdb")) << message;
    databaseError([&] { connect("sqlite:C:\\Data\\Gone.mdb"); });
    databaseError([&] { connect("sqlite:" + (temp_.dir() / "gone.db").string()); });
    databaseError([&] { connect("sqlite:Q:\\NoDrive.mdb"); });
    EXPECT_FALSE(fs::exists(temp_.map("C:\\Data\\Gone.mdb")));
    EXPECT_FALSE(fs::exists(temp_.dir() / "gone.db"));

    addDataSource("Empty", {RegistryValue::string("Driver", "PostgreSQL")});
    EXPECT_THAT(databaseError([&] { connect("DSN=Empty"); }), HasSubstr("Connect"));
}

TEST_F(DatabaseTest, FileThatIsNoDatabaseFailsAtConnect) {
    const fs::path file = temp_.map("C:\\Real.mdb");
    writeFile(file, std::string("Standard Jet DB") + std::string(4096, '\x01'));
    databaseError([&] { connect("sqlite:C:\\Real.mdb"); });
    EXPECT_EQ(readFile(file).size(), 15u + 4096u);  // left as it was
}

class DatabaseSqliteTest : public DatabaseTest {
  protected:
    void SetUp() override {
        createDatabaseFile("C:\\Data\\Test.mdb");
        connection_ = connect("sqlite:C:\\Data\\Test.mdb");
    }

    std::unique_ptr<Connection> connection_;
};

TEST_F(DatabaseSqliteTest, RowsKeepNullsAndColumnOrder) {
    expectRowsKeepNullsAndColumnOrder(*connection_);
}

TEST_F(DatabaseSqliteTest, TopTranslationAndFailures) {
    expectTopAndFailures(*connection_);
}

TEST_F(DatabaseSqliteTest, ApostropheRoundTrip) {
    expectApostropheRoundTrip(*connection_);
}

TEST_F(DatabaseSqliteTest, PreparedStatementReuse) {
    expectPreparedStatementReuse(*connection_);
}

TEST_F(DatabaseSqliteTest, ReplannedStatementsAnswerLikePreparedOnes) {
    expectReplannedStatementsLikePrepared(*connection_);
}

TEST_F(DatabaseSqliteTest, TransactionsEndCleanly) {
    expectTransactionsEndCleanly(*connection_);
}

TEST_F(DatabaseSqliteTest, NumbersComeBackAsSqlitePrintsThem) {
    const Recordset numbers = connection_->query("SELECT 42 AS I, 2.5 AS R, 2.0 AS W, -7 AS N");
    EXPECT_EQ(numbers.row(0), (std::vector<Value>{"42", "2.5", "2.0", "-7"}));
}

TEST_F(DatabaseSqliteTest, ExecuteCountsOnlyTheRowsItChanged) {
    createPeople(*connection_);
    EXPECT_EQ(connection_->execute("UPDATE PEOPLE SET NOTE = 'y' WHERE ID >= 2"), 2);
    // Neither a table nor a query changes rows, whatever the previous statement did.
    EXPECT_EQ(connection_->execute("CREATE TABLE OTHER (A INTEGER)"), 0);
    EXPECT_EQ(connection_->execute("SELECT * FROM PEOPLE"), 0);
    // Several statements run in turn.
    EXPECT_EQ(connection_->execute("INSERT INTO OTHER VALUES (1); INSERT INTO OTHER VALUES (2);"),
              1);
    EXPECT_EQ(countRows(*connection_, "OTHER"), 2);
}

TEST_F(DatabaseSqliteTest, QueryRefusesASecondStatementAndRunsNeither) {
    createPeople(*connection_);
    databaseError([&] { connection_->query("SELECT * FROM PEOPLE; DELETE FROM PEOPLE"); });
    databaseError([&] { connection_->prepare("DELETE FROM PEOPLE; SELECT 1"); });
    EXPECT_EQ(countRows(*connection_, "PEOPLE"), 3);
    EXPECT_EQ(connection_->query("SELECT 1 AS A; -- trailing comment").rowCount(), 1u);
}

TEST_F(DatabaseSqliteTest, CommittedWorkIsSeenByAnotherConnection) {
    createPeople(*connection_);
    {
        Transaction transaction(*connection_);
        connection_->execute("DELETE FROM PEOPLE WHERE ID = 1");
        transaction.commit();
    }
    const auto other = connect("sqlite:C:\\Data\\Test.mdb");
    EXPECT_EQ(countRows(*other, "PEOPLE"), 2);
}

TEST_F(DatabaseSqliteTest, TableNamesLeaveOutSqlitesOwn) {
    connection_->execute("CREATE TABLE COUNTED (ID INTEGER PRIMARY KEY AUTOINCREMENT)");
    connection_->execute("INSERT INTO COUNTED DEFAULT VALUES");  // makes sqlite_sequence
    connection_->execute("DROP TABLE COUNTED");
    expectTableNamesInNameOrder(*connection_);
}

TEST_F(DatabaseSqliteTest, StatementOutlivesItsConnection) {
    createPeople(*connection_);
    auto select = connection_->prepare("SELECT NAME FROM PEOPLE WHERE ID = ?");
    connection_.reset();
    select->bind(0, "1");
    EXPECT_EQ(select->query().value(0, "NAME"), Value("Ann"));
}

TEST(SqlTranslateTest, TopBecomesLimit) {
    for (Dialect dialect : {Dialect::SQLite, Dialect::PostgreSQL}) {
        EXPECT_EQ(
            translate("SELECT  TOP 1 * FROM USERDEFAULTS WHERE COMP ='5' order by LOGN", dialect),
            "SELECT * FROM USERDEFAULTS WHERE COMP ='5' order by LOGN LIMIT 1");
        EXPECT_EQ(translate("select\ttop\n10 A, B from T", dialect), "select A, B from T LIMIT 10");
        EXPECT_EQ(translate("SELECT DISTINCT TOP 3 A FROM T;", dialect),
                  "SELECT DISTINCT A FROM T LIMIT 3;");
    }
}

TEST(SqlTranslateTest, BareTableNameReadsTheTable) {
    EXPECT_EQ(translate("UNITS", Dialect::SQLite), "SELECT * FROM UNITS");
    EXPECT_EQ(translate("  Pay_Codes2 \r\n", Dialect::PostgreSQL), "SELECT * FROM Pay_Codes2");
}

TEST(SqlTranslateTest, OtherTextIsLeftAlone) {
    for (const char* sql : {"SELECT TOPIC FROM T", "SELECT TOP 10 PERCENT * FROM T",
                            "SELECT TOP X FROM T", "SELECT * FROM T WHERE A = 'SELECT TOP 1'",
                            "UPDATE T SET A = 1", "COMMIT", "VACUUM", "", "2ND", "MY TABLE"}) {
        EXPECT_EQ(translate(sql, Dialect::SQLite), sql);
    }
}

TEST(SqlTranslateTest, SqliteColumnTypesBecomePostgresOnes) {
    const std::string create =
        "CREATE TABLE ERPAUDIT (\n    SEQ integer  primary\tKEY,   -- INTEGER PRIMARY KEY\n"
        "    NOTE TEXT DEFAULT 'INTEGER PRIMARY KEY', LOGN TEXT collate binary)";
    EXPECT_EQ(translate(create, Dialect::SQLite), create);
    EXPECT_EQ(translate(create, Dialect::PostgreSQL),
              "CREATE TABLE ERPAUDIT (\n    SEQ BIGINT GENERATED BY DEFAULT AS IDENTITY PRIMARY "
              "KEY,   -- INTEGER PRIMARY KEY\n    NOTE TEXT DEFAULT 'INTEGER PRIMARY KEY', LOGN "
              "TEXT COLLATE \"C\")");
    EXPECT_EQ(translate("CREATE TABLE T (ID INTEGER PRIMARY KEY AUTOINCREMENT, B BIGINTEGER "
                        "PRIMARY KEY, \"INTEGER PRIMARY KEY\" TEXT, C TEXT COLLATE BINARYX)",
                        Dialect::PostgreSQL),
              "CREATE TABLE T (ID BIGINT GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY, B "
              "BIGINTEGER PRIMARY KEY, \"INTEGER PRIMARY KEY\" TEXT, C TEXT COLLATE BINARYX)");
}

TEST(SqlTranslateTest, QuotingDoublesApostrophes) {
    EXPECT_EQ(quote("O'Brien"), "'O''Brien'");
    EXPECT_EQ(quote(""), "''");
    EXPECT_EQ(escapeQuotes("'a''b'"), "''a''''b''");
}

// ---- PostgreSQL ----

// Each test works in a database of its own on the test run's cluster.
class PostgresTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TAVIRO_REQUIRE_POSTGRES();
        database_ = std::make_unique<testing_support::PostgresDatabase>();
        connection_ = db::connect(database_->url(), temp_.root());
    }

    testing_support::TempRoot temp_;
    std::unique_ptr<testing_support::PostgresDatabase> database_;
    std::unique_ptr<Connection> connection_;
};

TEST_F(PostgresTest, ReadsTranslatesAndFailsLikeSqlite) {
    EXPECT_EQ(connection_->dialect(), Dialect::PostgreSQL);
    {
        SCOPED_TRACE("rows");
        expectRowsKeepNullsAndColumnOrder(*connection_);
    }
    connection_->execute("DROP TABLE PEOPLE");
    {
        SCOPED_TRACE("top and failures");
        expectTopAndFailures(*connection_);
    }
    connection_->execute("DROP TABLE PEOPLE");
    {
        SCOPED_TRACE("apostrophes");
        expectApostropheRoundTrip(*connection_);
    }
    // Unquoted names come back folded to lower case.
    EXPECT_EQ(connection_->query("SELECT ID FROM PEOPLE").columns()[0], "id");
}

TEST_F(PostgresTest, PreparedStatementsAndTransactions) {
    {
        SCOPED_TRACE("prepared statements");
        expectPreparedStatementReuse(*connection_);
    }
    connection_->execute("DROP TABLE PEOPLE");
    {
        SCOPED_TRACE("replanned statements");
        expectReplannedStatementsLikePrepared(*connection_);
    }
    connection_->execute("DROP TABLE PEOPLE");
    {
        SCOPED_TRACE("transactions");
        expectTransactionsEndCleanly(*connection_);
    }
    // The server turns COMMIT after a failed statement into a rollback; that must not pass as
    // a successful commit.
    {
        Transaction transaction(*connection_);
        connection_->execute("DELETE FROM PEOPLE");
        databaseError([&] { connection_->execute("SELECT * FROM NOWHERE"); });
        databaseError([&] { transaction.commit(); });
    }
    EXPECT_EQ(countRows(*connection_, "PEOPLE"), 3);
}

// What SQLite does on its own, PostgreSQL does through the translation: a self-numbering key,
// and byte order for COLLATE BINARY in a database whose own collation sorts otherwise.
TEST_F(PostgresTest, TranslatedSqliteSchemaBehavesAlike) {
    connection_->execute(
        "CREATE TABLE ERPAUDIT (SEQ INTEGER PRIMARY KEY, NOTE TEXT);"
        "INSERT INTO ERPAUDIT (NOTE) VALUES ('first'); INSERT INTO ERPAUDIT (NOTE) VALUES "
        "('second')");
    const Recordset numbered = connection_->query("SELECT SEQ, NOTE FROM ERPAUDIT ORDER BY SEQ");
    EXPECT_EQ(numbered.row(0), (std::vector<Value>{"1", "first"}));
    EXPECT_EQ(numbered.row(1), (std::vector<Value>{"2", "second"}));
    {
        SCOPED_TRACE("table names");
        connection_->execute("DROP TABLE ERPAUDIT");
        expectTableNamesInNameOrder(*connection_);
    }

    const testing_support::PostgresDatabase english(
        "LOCALE_PROVIDER icu ICU_LOCALE 'en-US' LOCALE 'C' TEMPLATE template0");
    const auto users = db::connect(english.url(), temp_.root());
    users->execute(
        "CREATE TABLE USERDEFAULTS (LOGN TEXT COLLATE BINARY, NOTE TEXT);"
        "INSERT INTO USERDEFAULTS VALUES ('admin', 'admin'), ('Zeta', 'Zeta')");
    EXPECT_EQ(users->query("SELECT TOP 1 * FROM USERDEFAULTS ORDER BY LOGN").value(0, "LOGN"),
              Value("Zeta"));
    EXPECT_EQ(users->query("SELECT TOP 1 * FROM USERDEFAULTS ORDER BY NOTE").value(0, "NOTE"),
              Value("admin"));  // the database's own order, for contrast
}

// Placeholders that run on into a word, as statements written for the original databases have
// them ("?and"), and values PostgreSQL cannot hold, which are refused whole.
TEST_F(PostgresTest, PlaceholdersBeforeWordsAndNulCharacters) {
    createPeople(*connection_);
    const auto select = connection_->prepare("SELECT NAME FROM PEOPLE WHERE ID = ?and NAME = ?");
    select->bindAll({"2", "Bob"});
    EXPECT_EQ(select->query().value(0, "NAME"), Value("Bob"));

    const auto insert = connection_->prepare("INSERT INTO PEOPLE (ID, NAME) VALUES (?, ?)");
    EXPECT_EQ(databaseError([&] { insert->bind(1, std::string("cut\0short", 9)); }),
              "PostgreSQL cannot store a text that holds a NUL character (parameter $2).");
    EXPECT_EQ(databaseError([&] { insert->bindText(1, std::string_view("a\0b", 3)); }),
              "PostgreSQL cannot store a text that holds a NUL character (parameter $2).");
    databaseError([&] {
        connection_->execute(std::string("INSERT INTO PEOPLE (ID, NAME) VALUES (7, 'x") + '\0' +
                             "y')");
    });
    EXPECT_EQ(countRows(*connection_, "PEOPLE"), 3);
}

TEST_F(PostgresTest, DataSourceAndUrlsSelectPostgres) {
    Registry registry(temp_.root());
    registry.createKey(Hive::LocalMachine, kDataSources + "Central");
    registry.setValue(Hive::LocalMachine, kDataSources + "Central",
                      RegistryValue::string("Driver", "PostgreSQL"));
    registry.setValue(Hive::LocalMachine, kDataSources + "Central",
                      RegistryValue::string("Connect", database_->conninfo()));
    const auto viaDsn = db::connect("DSN=central;UID=postgres", temp_.root());
    EXPECT_EQ(viaDsn->dialect(), Dialect::PostgreSQL);
    EXPECT_EQ(viaDsn->query("SELECT 1 AS ONE").value(0, "ONE"), Value("1"));

    const auto viaShortScheme =
        db::connect(testing_support::PostgresCluster::shared().url(database_->name(), "postgres"),
                    temp_.root());
    EXPECT_EQ(viaShortScheme->query("SELECT 'a' AS A").value(0, "a"), Value("a"));

    databaseError([&] { db::connect(database_->url() + "x", temp_.root()); });
}

}  // namespace
}  // namespace platform::db
