#include "store/RowSource.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <unordered_set>
#include <utility>

#include "store/DbError.h"

namespace store {

namespace {

bool isBareIdentifier(const std::string& s) {
    if (s.empty() || !(std::isalpha(static_cast<unsigned char>(s[0])) || s[0] == '_')) {
        return false;
    }
    return std::all_of(s.begin(), s.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
    });
}

bool equalsNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string trimmed(const std::string& s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && blank(s[b])) ++b;
    while (e > b && (blank(s[e - 1]) || s[e - 1] == ';')) --e;
    return s.substr(b, e - b);
}

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// The value a column of the declared type stores for v (the engine's type affinity).
Value withAffinity(const std::string& declaredType, const Value& v) {
    const std::string type = upper(declaredType);
    const auto has = [&](const char* part) { return type.find(part) != std::string::npos; };
    if (v.isNull() || has("INT")) return v;
    if (has("CHAR") || has("CLOB") || has("TEXT")) return Value(v.toText());
    if ((has("REAL") || has("FLOA") || has("DOUB")) && v.isInteger()) return Value(v.toDouble());
    return v;
}

std::size_t rowHash(const std::vector<Value>& row) {
    std::size_t h = 0;
    for (const Value& v : row) {
        std::size_t part = 0;
        if (v.isInteger()) {
            part = std::hash<std::int64_t>{}(v.toInt());
        } else if (v.isReal()) {
            part = std::hash<double>{}(v.toDouble());
        } else if (v.isText()) {
            part = std::hash<std::string>{}(v.toText());
        }
        h = h * 31 + part;
    }
    return h;
}

[[noreturn]] void noCurrentRow(const char* source) {
    throw DbError(kErrNoCurrentRow, "Nessun record corrente.", source);
}

}  // namespace

RowSource::RowSource(Database& db, std::string source) : db_(db), source_(std::move(source)) {}

void RowSource::setSource(std::string source, std::vector<Value> params) {
    source_ = std::move(source);
    params_ = std::move(params);
}

void RowSource::requery() {
    dropPending();
    load();
    current_ = recordCount() > 0 ? 0 : -1;
}

void RowSource::ensureLoaded() {
    if (!loaded_) requery();
}

void RowSource::load() {
    loaded_ = false;
    table_.clear();
    select_.clear();
    columns_.clear();
    types_.clear();
    defaults_.clear();
    rows_.clear();
    rowids_.clear();
    cachedRow_.clear();

    const std::string source = trimmed(source_);
    if (isBareIdentifier(source)) {
        const QueryResult found = db_.query(
            "SELECT type, name FROM sqlite_master WHERE type IN ('table', 'view') "
            "AND name = ? COLLATE NOCASE",
            {source});
        if (!found.rows.empty() && found.rows[0][0].toText() == "table") {
            table_ = found.rows[0][1].toText();
        } else {
            // A saved query, or an unknown name that the engine reports.
            select_ = "SELECT * FROM " + (found.rows.empty() ? source : found.rows[0][1].toText());
        }
    } else {
        select_ = source;
    }

    if (!table_.empty()) {
        const QueryResult info = db_.query("PRAGMA table_info(" + table_ + ")");
        for (const auto& column : info.rows) {
            columns_.push_back(column[1].toText());
            types_.push_back(column[2].toText());
            defaults_.push_back(column[4].toText());
        }
        // Without ORDER BY the engine may read the ids from a small index instead of the
        // whole table; sorting them here is much cheaper.
        Statement ids = db_.prepare("SELECT rowid FROM " + table_);
        while (ids.step()) rowids_.push_back(ids.value(0).toInt());
        std::sort(rowids_.begin(), rowids_.end());
    } else {
        QueryResult result = db_.query(select_, params_);
        columns_ = std::move(result.columns);
        rows_ = std::move(result.rows);
    }
    loaded_ = true;
}

int RowSource::recordCount() const {
    return static_cast<int>(table_.empty() ? rows_.size() : rowids_.size());
}

const std::vector<std::string>& RowSource::columns() const {
    return columns_;
}

bool RowSource::bof() const {
    return recordCount() == 0 || current_ < 0;
}
bool RowSource::eof() const {
    return recordCount() == 0 || current_ >= recordCount();
}
bool RowSource::hasCurrentRow() const {
    return !bof() && !eof();
}
int RowSource::position() const {
    return hasCurrentRow() ? current_ : -1;
}

void RowSource::moveFirst() {
    ensureLoaded();
    dropPending();
    current_ = recordCount() > 0 ? 0 : -1;
}

void RowSource::moveNext() {
    ensureLoaded();
    dropPending();
    if (current_ < recordCount()) ++current_;
}

void RowSource::moveTo(int row) {
    ensureLoaded();
    if (row < 0 || row >= recordCount()) noCurrentRow("RowSource.Move");
    dropPending();
    current_ = row;
}

bool RowSource::findFirst(const std::string& criterion, const std::vector<Value>& params) {
    ensureLoaded();
    int found = -1;
    if (!table_.empty()) {
        // Row ids ascend in listing order, rows added here included.
        Statement matches = db_.prepare(
            "SELECT rowid FROM " + table_ + " WHERE (" + criterion + "\n) ORDER BY rowid", params);
        while (found < 0 && matches.step()) {
            const std::int64_t id = matches.value(0).toInt();
            const auto it = std::lower_bound(rowids_.begin(), rowids_.end(), id);
            if (it != rowids_.end() && *it == id) {
                found = static_cast<int>(it - rowids_.begin());
            }
        }
    } else {
        std::vector<Value> all = params_;
        all.insert(all.end(), params.begin(), params.end());
        const QueryResult matches =
            db_.query("SELECT * FROM (\n" + select_ + "\n) WHERE (" + criterion + "\n)", all);
        std::unordered_multiset<std::size_t> hashes;
        for (const auto& row : matches.rows) hashes.insert(rowHash(row));
        for (std::size_t i = 0; found < 0 && i < rows_.size(); ++i) {
            if (hashes.count(rowHash(rows_[i])) > 0 &&
                std::find(matches.rows.begin(), matches.rows.end(), rows_[i]) !=
                    matches.rows.end()) {
                found = static_cast<int>(i);
            }
        }
    }
    if (found < 0) return false;
    dropPending();
    current_ = found;
    return true;
}

int RowSource::columnIndex(const std::string& name) const {
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (equalsNoCase(columns_[i], name)) return static_cast<int>(i);
    }
    throw DbError(kErrUnknownField, "Elemento non trovato nell'insieme: " + name,
                  "RowSource.Field");
}

const std::vector<Value>& RowSource::rowValues(int row) const {
    if (table_.empty()) return rows_[static_cast<std::size_t>(row)];
    const std::int64_t id = rowids_[static_cast<std::size_t>(row)];
    if (cachedRow_.empty() || cachedRowid_ != id) {
        Statement stmt = db_.prepare("SELECT * FROM " + table_ + " WHERE rowid = ?", {id});
        if (!stmt.step()) {
            throw DbError(kErrRowDeleted, "Il record è stato eliminato.", "RowSource.Field");
        }
        std::vector<Value> values;
        for (int c = 0; c < stmt.columnCount(); ++c) values.push_back(stmt.value(c));
        cachedRow_ = std::move(values);
        cachedRowid_ = id;
    }
    return cachedRow_;
}

Value RowSource::field(const std::string& name) const {
    const auto column = static_cast<std::size_t>(columnIndex(name));
    if (mode_ != EditMode::None) return buffer_[column];
    if (!hasCurrentRow()) noCurrentRow("RowSource.Field");
    return rowValues(current_)[column];
}

Value RowSource::fieldAt(int row, const std::string& name) const {
    return valueAt(row, columnIndex(name));
}

Value RowSource::valueAt(int row, int column) const {
    if (row < 0 || row >= recordCount()) noCurrentRow("RowSource.Field");
    if (column < 0 || column >= static_cast<int>(columns_.size())) {
        throw DbError(kErrUnknownField, "Elemento non trovato nell'insieme.", "RowSource.Field");
    }
    return rowValues(row)[static_cast<std::size_t>(column)];
}

bool RowSource::isTable() const {
    return !table_.empty();
}

void RowSource::requireTable(const char* source) const {
    if (table_.empty()) {
        throw DbError(kErrNotUpdatable,
                      "Impossibile aggiornare. Il database o l'oggetto è di sola lettura.", source);
    }
}

void RowSource::addNew() {
    ensureLoaded();
    requireTable("RowSource.AddNew");
    std::vector<Value> values(columns_.size());
    std::string defaults;
    std::vector<std::size_t> withDefault;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (defaults_[i].empty()) continue;
        defaults += (defaults.empty() ? "SELECT " : ", ") + defaults_[i];
        withDefault.push_back(i);
    }
    if (!withDefault.empty()) {
        const QueryResult evaluated = db_.query(defaults);
        for (std::size_t k = 0; k < withDefault.size(); ++k) {
            const std::size_t i = withDefault[k];
            values[i] = withAffinity(types_[i], evaluated.rows[0][k]);
        }
    }
    buffer_ = std::move(values);
    assigned_.assign(columns_.size(), false);
    mode_ = EditMode::Adding;
}

void RowSource::edit() {
    ensureLoaded();
    requireTable("RowSource.Edit");
    if (!hasCurrentRow()) noCurrentRow("RowSource.Edit");
    buffer_ = rowValues(current_);
    assigned_.assign(columns_.size(), false);
    mode_ = EditMode::Editing;
}

void RowSource::setField(const std::string& name, const Value& v) {
    if (mode_ == EditMode::None) {
        throw DbError(kErrNoPendingRow, "Update o CancelUpdate senza AddNew o Edit.",
                      "RowSource.SetField");
    }
    const auto column = static_cast<std::size_t>(columnIndex(name));
    buffer_[column] = v;
    assigned_[column] = true;
}

void RowSource::update() {
    if (mode_ == EditMode::None) {
        throw DbError(kErrNoPendingRow, "Update o CancelUpdate senza AddNew o Edit.",
                      "RowSource.Update");
    }
    std::string names;         // "[a], [b]"
    std::string placeholders;  // "?, ?"
    std::string assignments;   // "[a] = ?, [b] = ?"
    std::vector<Value> values;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (!assigned_[i]) continue;
        const std::string separator = values.empty() ? "" : ", ";
        const std::string name = "[" + columns_[i] + "]";
        names += separator + name;
        placeholders += separator + "?";
        assignments += separator + name + " = ?";
        values.push_back(buffer_[i]);
    }
    if (mode_ == EditMode::Adding) {
        const int before = recordCount();
        db_.execute(values.empty() ? "INSERT INTO " + table_ + " DEFAULT VALUES"
                                   : "INSERT INTO " + table_ + " (" + names + ") VALUES (" +
                                         placeholders + ")",
                    values);
        rowids_.push_back(db_.lastInsertRowid());
        if (current_ >= before) current_ = recordCount();  // stays past the last row
    } else if (!values.empty()) {
        values.emplace_back(rowids_[static_cast<std::size_t>(current_)]);
        if (db_.execute("UPDATE " + table_ + " SET " + assignments + " WHERE rowid = ?", values) ==
            0) {
            throw DbError(kErrRowDeleted, "Il record è stato eliminato.", "RowSource.Update");
        }
        cachedRow_.clear();
    }
    dropPending();
}

void RowSource::cancelUpdate() {
    dropPending();
}

void RowSource::dropPending() {
    mode_ = EditMode::None;
    buffer_.clear();
    assigned_.clear();
}

}  // namespace store
