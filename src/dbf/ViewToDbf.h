// Export of a data-bound banded table view's rows into a new dBASE table.
//
// One table field per visible column of the view, in column index order,
// named F0, F1, ...; its type and width come from the bound dataset field
// (`FieldToDBFField`).  Every record of the view's dataset becomes one table
// record holding the columns' texts; dates are written as yyyymmdd, Booleans
// as T or F, long texts go to the memo file.  The dataset's current record and
// its control updates are restored afterwards, also when the export fails.
#pragma once

#include <string>

#include "dbf/XBase.h"

namespace kv {

class TField;
class TcxGridDBBandedTableView;

// The table field for a dataset field (its name is the field's name; the
// export renames it).  Widths hold every text the field's type produces:
//   string, fixed char     C, DataSize (Size + 1); memo M when over 254
//   wide string            C, twice Size; memo M when over 254
//   small/integer/word/autoinc C 11     large integer C 20
//   float, currency, BCD, FMT-BCD C 20  GUID C 38
//   date                   C 12 (written yyyymmdd)
//   date-time, time stamp  C 19         time T 8
//   Boolean                L 1          memo, formatted memo M 10
//   anything else          C 10
// A null field (a column bound to no field) gives C 10.
TDBFFieldStruct FieldToDBFField(const TField* AField);

// The text the export writes for the current value of a field: dates as
// yyyymmdd (the characters at positions 8 and 5 of the short date text taken
// out), Booleans as T or F ("" for a null), everything else as its AsString.
std::string DBFFieldText(const TField& AField);

// Writes every record of AView's dataset into a new table AFileName (an
// existing file is replaced; the caller asks first).  The view's data
// controller must have a data source with an active dataset.  A visible
// column bound to no field gets a C field of width 10 and no values.
// Errors of the table component or the dataset are not caught: they end the
// export with the rows written so far left in the file.  After every row the
// application's ProcessMessages runs.
void ExportViewToDBF(const std::string& AFileName, TcxGridDBBandedTableView* AView);

}  // namespace kv
