// Recordsets, quoting, the translation of statements written for Access and ODBC, and
// transactions: everything that is the same for both drivers.
#include "platform/db/database.h"

#include <array>
#include <cctype>

#include "platform/db/drivers.h"
#include "platform/failure.h"
#include "platform/text.h"

namespace platform::db {

namespace {

constexpr const char* kItemNotFound =
    "Item cannot be found in the collection corresponding to the requested name or ordinal.";
constexpr const char* kNoCurrentRecord =
    "Either BOF or EOF is True, or the current record has been deleted. Requested operation "
    "requires a current record.";

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

bool isIdentifierChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// Walks the start of a statement word by word.
class Cursor {
  public:
    explicit Cursor(std::string_view text) : text_(text) {}
    size_t position() const { return pos_; }

    void skipBlanks() {
        while (pos_ < text_.size() && isBlank(text_[pos_])) ++pos_;
    }

    // Consumes `word` (any case) when it stands here as a whole word.
    bool keyword(std::string_view word) {
        if (text_.size() - pos_ < word.size()) return false;
        if (!equalsIgnoreCase(text_.substr(pos_, word.size()), word)) return false;
        if (endsWord(pos_ + word.size())) return false;
        pos_ += word.size();
        return true;
    }

    // Consumes a whole number standing here as a word.
    std::optional<std::string_view> number() {
        size_t end = pos_;
        while (end < text_.size() && std::isdigit(static_cast<unsigned char>(text_[end]))) ++end;
        if (end == pos_ || endsWord(end)) return std::nullopt;
        std::string_view digits = text_.substr(pos_, end - pos_);
        pos_ = end;
        return digits;
    }

  private:
    // True when the word before `end` would run on into more identifier characters.
    bool endsWord(size_t end) const { return end < text_.size() && isIdentifierChar(text_[end]); }

    std::string_view text_;
    size_t pos_ = 0;
};

// "SELECT [DISTINCT] TOP n rest" -> "SELECT [DISTINCT] rest LIMIT n". TOP n PERCENT has no
// LIMIT equivalent and is left for the driver to reject.
std::optional<std::string> translateTop(std::string_view sql) {
    Cursor cursor(sql);
    cursor.skipBlanks();
    if (!cursor.keyword("SELECT")) return std::nullopt;
    size_t head = cursor.position();
    cursor.skipBlanks();
    if (cursor.keyword("DISTINCT")) {
        head = cursor.position();
        cursor.skipBlanks();
    }
    if (!cursor.keyword("TOP")) return std::nullopt;
    cursor.skipBlanks();
    const std::optional<std::string_view> count = cursor.number();
    if (!count) return std::nullopt;
    cursor.skipBlanks();
    const size_t restStart = cursor.position();
    if (cursor.keyword("PERCENT")) return std::nullopt;

    // LIMIT must come before a closing semicolon, not after it.
    std::string_view rest = sql.substr(restStart);
    size_t restEnd = rest.size();
    while (restEnd > 0 && (isBlank(rest[restEnd - 1]) || rest[restEnd - 1] == ';')) --restEnd;

    std::string out(sql.substr(0, head));
    out += ' ';
    out += rest.substr(0, restEnd);
    out += " LIMIT ";
    out += *count;
    out += rest.substr(restEnd);
    return out;
}

// Statements that consist of one word and so look like a table name.
bool isOneWordStatement(std::string_view word) {
    static constexpr std::array<std::string_view, 9> kStatements = {
        "BEGIN",  "COMMIT",  "END",     "ROLLBACK",  "ABORT",
        "VACUUM", "ANALYZE", "REINDEX", "CHECKPOINT"};
    for (std::string_view statement : kStatements) {
        if (equalsIgnoreCase(word, statement)) return true;
    }
    return false;
}

bool isBareTableName(std::string_view text) {
    if (text.empty() || std::isdigit(static_cast<unsigned char>(text.front()))) return false;
    for (char c : text) {
        if (!isIdentifierChar(c)) return false;
    }
    return !isOneWordStatement(text);
}

}  // namespace

Recordset::Recordset(std::vector<std::string> columns, std::vector<std::vector<Value>> rows)
    : columns_(std::move(columns)), rows_(std::move(rows)) {}

std::optional<size_t> Recordset::columnIndex(std::string_view name) const {
    for (size_t i = 0; i < columns_.size(); ++i) {
        if (equalsIgnoreCase(columns_[i], name)) return i;
    }
    return std::nullopt;
}

const Value& Recordset::value(size_t row, std::string_view column) const {
    const std::optional<size_t> index = columnIndex(column);
    if (!index) throw PlatformError(failure::kDatabase, kItemNotFound);
    if (row >= rows_.size()) throw PlatformError(failure::kDatabase, kNoCurrentRecord);
    return rows_[row].at(*index);
}

std::string escapeQuotes(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (char c : value) {
        if (c == '\'') out += '\'';
        out += c;
    }
    return out;
}

std::string quote(std::string_view value) {
    return "'" + escapeQuotes(value) + "'";
}

std::string literalStatement(std::string_view sql, const std::vector<std::string_view>& values) {
    std::string text;
    text.reserve(sql.size() + 16 * values.size());
    size_t next = 0;
    for (char c : sql) {
        if (c == '?' && next < values.size())
            text += quote(values[next++]);
        else
            text += c;
    }
    return text;
}

std::string translate(std::string_view sql, Dialect /*dialect*/) {
    // Both dialects take LIMIT and neither reads a bare table name, so the rules are shared.
    if (std::optional<std::string> limited = translateTop(sql)) return *limited;
    const std::string_view trimmed = trimWhitespace(sql);
    if (isBareTableName(trimmed)) return "SELECT * FROM " + std::string(trimmed);
    return std::string(sql);
}

std::string commandText(std::string_view sql, Dialect dialect) {
    if (trimWhitespace(sql).empty()) throw PlatformError(failure::kDatabase, kNoCommandText);
    return translate(sql, dialect);
}

Transaction::~Transaction() {
    if (done_) return;
    try {
        connection_.rollback();
    } catch (...) {
        // Unwinding may already be under way, and a transaction the database ended on its own
        // (a lost connection, say) has nothing left to roll back.
    }
}

void Transaction::commit() {
    connection_.commit();
    done_ = true;
}

}  // namespace platform::db
