// Loading an SQLite table or query result into an in-memory dataset.
//
// The database is opened read-only; nothing is ever written to it.  Field
// types come from the columns' declared types (see ColumnProfile.h for the
// mapping) and, where a column has none (an expression of a query) or a
// value does not fit its declaration, from the values themselves; the column
// is widened rather than a value changed or lost.  Column names that repeat
// in a query result get "_1", "_2", ... appended.
//
// Failures raise EDatabaseError with a message that names the file and what
// went wrong: a missing file, a file that is not an SQLite database, an
// unknown table, an SQL error, a statement that returns no columns.
#pragma once

#include <string>

#include "platform/LoadProgress.h"
#include "platform/MemDataSet.h"

namespace kv {

// Replaces the field definitions and records of ADataSet (which must be
// closed) with the rows of ATable, and opens it on the first row.
// AProgress, when given, is told the number of rows read (LoadProgress.h).
void LoadSqliteTable(const std::string& ADatabase, const std::string& ATable, TMemDataSet& ADataSet,
                     const TLoadProgress& AProgress = {});

// The same with the result of one SQL statement.
void LoadSqliteQuery(const std::string& ADatabase, const std::string& ASql, TMemDataSet& ADataSet,
                     const TLoadProgress& AProgress = {});

}  // namespace kv
