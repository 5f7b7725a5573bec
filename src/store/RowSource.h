#pragma once
// A row source bound to a table, a saved query or a select statement, with a current row and
// pending-row editing: addNew/edit fill a buffer that update() writes and cancelUpdate() drops.
// A table source keeps only the row ids and reads one row's values when asked; other sources
// hold all their rows. Moving to another row (move*, a successful findFirst) or requery()
// drops a pending row, as leaving a record does. Accessors see an empty source until the
// first requery(); navigation and editing run it themselves when it has not run yet.
#include <string>
#include <vector>

#include "store/Database.h"
#include "store/Value.h"

namespace store {

enum class EditMode { None = 0, Editing = 1, Adding = 2 };

class RowSource {
public:
    // db must outlive the row source. The source is a table name, a saved query name or a
    // select statement (dialect SQL). Nothing runs until requery() (or a first navigation or
    // editing call).
    RowSource(Database& db, std::string source);

    const std::string& source() const { return source_; }
    Database& database() const { return db_; }
    // Takes effect at the next requery(). A select statement's "?" take the given values.
    void setSource(std::string source, std::vector<Value> params = {});

    // Re-runs the source; the first row becomes current. Drops a pending row.
    void requery();

    int recordCount() const;
    const std::vector<std::string>& columns() const;
    bool bof() const;      // no current row because the position is before the first row
    bool eof() const;      // no current row because the position is past the last row
    int position() const;  // 0-based index of the current row, -1 when none
    void moveFirst();
    void moveNext();
    void moveTo(int row);

    // Makes current the first row (in the source's order) matching the SQL condition, e.g.
    // "NumRepertorio=?" with the values of its "?". Returns false (no match, current row
    // unchanged) when none matches.
    bool findFirst(const std::string& criterion, const std::vector<Value>& params = {});

    // Field of the current row, or of the pending row while adding or editing. Names are
    // matched without regard to case. Throws DbError for an unknown name or no current row.
    Value field(const std::string& name) const;
    // Field of any listed row (for grids).
    Value fieldAt(int row, const std::string& name) const;
    Value valueAt(int row, int column) const;

    // Editing, only for table sources.
    void addNew();
    void edit();
    void setField(const std::string& name, const Value& v);
    // Writes the fields assigned since addNew/edit (the table's defaults fill the others of a
    // new row). After an insertion the current row stays the one that was current before
    // addNew, and the new row is listed last, so findFirst finds it without a requery.
    // On failure the pending row stays, to be corrected or cancelled.
    void update();
    void cancelUpdate();
    EditMode editMode() const { return mode_; }

    bool isTable() const;

private:
    void ensureLoaded();
    void load();
    void dropPending();
    void requireTable(const char* source) const;
    int columnIndex(const std::string& name) const;
    const std::vector<Value>& rowValues(int row) const;  // stored values of a listed row
    bool hasCurrentRow() const;

    Database& db_;
    std::string source_;
    std::vector<Value> params_;  // of a select statement's "?"
    std::string table_;          // set when the source is a table
    std::string select_;         // the statement run for any other source
    bool loaded_ = false;
    std::vector<std::string> columns_;
    std::vector<std::string> types_;        // declared types of a table's columns
    std::vector<std::string> defaults_;     // default expressions of a table's columns, "" for none
    std::vector<std::vector<Value>> rows_;  // the rows of a query source
    std::vector<std::int64_t> rowids_;      // the rows of a table source, ascending
    int current_ = -1;                      // -1 before the first row, recordCount() past the last
    EditMode mode_ = EditMode::None;
    std::vector<Value> buffer_;
    std::vector<bool> assigned_;
    mutable std::int64_t cachedRowid_ = 0;
    mutable std::vector<Value> cachedRow_;  // values of one table row, empty when none
};

}  // namespace store
