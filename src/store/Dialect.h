#pragma once
// The program's SQL dialect: statement texts keep the old engine's functions (val, mid, left,
// ucase, Round) and double-quoted text literals. translate() turns them into engine SQL:
// function names become the program's own functions and every double-quoted literal becomes
// a bound parameter, so no typed text can change a statement.
#include <string>
#include <vector>

#include "store/Value.h"

struct sqlite3;

namespace store {

struct Translated {
    std::string sql;
    std::vector<Value> params;  // values of the double-quoted literals, in order
};

// Token-aware: never changes anything inside a single-quoted text literal. A doubled quote
// inside a literal ('' or "") stands for one quote character.
Translated translate(const std::string& dialectSql);

// Registers val, mid, left, ucase and Round (half to even) on a connection.
void registerDialectFunctions(sqlite3* db);

// A text value as a single-quoted literal, with embedded quotes doubled: D'ANGELO -> 'D''ANGELO'.
std::string quote(const std::string& text);

// Rounds to the given number of decimals, an exact half to the even neighbour.
double roundHalfEven(double x, int decimals);

}  // namespace store
