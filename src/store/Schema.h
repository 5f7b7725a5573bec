#pragma once
// The archive's tables, saved queries (views) and shipped lookup data.
namespace store {

class Database;

// Creates every table and saved query on an empty archive and fills the lookup tables
// from the data shipped with the program.
void createSchema(Database& db);

}  // namespace store
