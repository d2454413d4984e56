// Loading a CSV file into an in-memory dataset.
//
// The file is UTF-8 (a leading byte-order mark is skipped), values are
// separated by commas, and the first row names the columns.  A value in double
// quotes may hold commas, line breaks and doubled quotes ("").  Lines that are
// completely empty are skipped.  An empty value is a null.  Field types come
// from the values (see ColumnProfile.h): integers, numbers, dates
// (yyyy-mm-dd), date-times, true/false, otherwise text sized to its longest
// value; integers written with leading zeros ("007") stay text.  An empty
// header cell names its column "Column<n>".
//
// Failures raise EDatabaseError naming the file and the line: a file that
// cannot be read, no header row, a header naming a column twice, a row with
// more or fewer values than the header, a quote that is not closed, bytes
// that are not UTF-8.
#pragma once

#include <string>

#include "platform/LoadProgress.h"
#include "platform/MemDataSet.h"

namespace kv {

// Replaces the field definitions and records of ADataSet (which must be
// closed) with the rows of the file, and opens it on the first row.
// AProgress, when given, is told the number of rows read (LoadProgress.h).
void LoadCsvFile(const std::string& AFileName, TMemDataSet& ADataSet, const TLoadProgress& AProgress = {});

// The same from CSV text already in memory; AName names it in messages.
void LoadCsvText(const std::string& AText, const std::string& AName, TMemDataSet& ADataSet,
                 const TLoadProgress& AProgress = {});

}  // namespace kv
