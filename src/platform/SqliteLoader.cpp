// SQLite loader: runs one statement read-only and turns its columns into
// fields and its rows into records.
#include "platform/SqliteLoader.h"

#include <sqlite3.h>

#include <memory>
#include <vector>

#include "platform/ColumnProfile.h"
#include "platform/DBFields.h"
#include "platform/Files.h"

namespace kv {

namespace {

struct TDbCloser {
  void operator()(sqlite3* ADb) const { sqlite3_close(ADb); }
};
struct TStmtFinalizer {
  void operator()(sqlite3_stmt* AStmt) const { sqlite3_finalize(AStmt); }
};

std::string Quoted(const std::string& AText) { return "\"" + AText + "\""; }

// Explains an SQLite error on ADatabase; "not a database" gets words of its own.
[[noreturn]] void RaiseSqlite(sqlite3* ADb, int ACode, const std::string& ADatabase, const std::string& AWhat) {
  std::string detail = ADb ? sqlite3_errmsg(ADb) : sqlite3_errstr(ACode);
  if ((ACode & 0xFF) == SQLITE_NOTADB) throw EDatabaseError(Quoted(ADatabase) + " is not an SQLite database");
  throw EDatabaseError(AWhat + ": " + detail);
}

bool IsBlank(const char* ATail) {
  for (; *ATail; ++ATail)
    if (static_cast<unsigned char>(*ATail) > ' ' && *ATail != ';') return false;
  return true;
}

bool HoldsText(TFieldType AType) {
  switch (AType) {
    case ftString:
    case ftFixedChar:
    case ftWideString:
    case ftGuid:
    case ftMemo:
    case ftFmtMemo:
    case ftBlob:
    case ftGraphic:
      return true;
    default:
      return false;
  }
}

// Stores one SQLite value into its field of the record being appended.
void StoreValue(TField* AField, const TFieldData& AValue, bool AIsBlob) {
  if (const int64_t* i = std::get_if<int64_t>(&AValue)) {
    if (AField->DataType() == ftBoolean)
      AField->SetAsBoolean(*i != 0);
    else if (HoldsText(AField->DataType()))
      AField->SetAsString(IntToStr(*i));
    else
      AField->SetAsLargeInt(*i);
  } else if (const double* d = std::get_if<double>(&AValue)) {
    if (HoldsText(AField->DataType()))
      AField->SetAsString(FloatToStr(*d));
    else
      AField->SetAsFloat(*d);
  } else if (const std::string* s = std::get_if<std::string>(&AValue)) {
    if (AIsBlob)
      AField->SetData(*s);
    else
      AField->SetAsString(*s);
  }
}

void RunStatement(const std::string& ADatabase, const std::string& ASql, const std::string& AWhat,
                  TMemDataSet& ADataSet, const TLoadProgress& AProgress) {
  if (DirectoryExists(ADatabase))
    throw EDatabaseError("cannot open database " + Quoted(ADatabase) + ": it is a folder");
  if (!FileExists(ADatabase))
    throw EDatabaseError("cannot open database " + Quoted(ADatabase) + ": the file does not exist");
  sqlite3* raw = nullptr;
  int rc = sqlite3_open_v2(ADatabase.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
  std::unique_ptr<sqlite3, TDbCloser> db(raw);
  if (rc != SQLITE_OK) RaiseSqlite(raw, rc, ADatabase, "cannot open database " + Quoted(ADatabase));

  sqlite3_stmt* rawStmt = nullptr;
  const char* tail = nullptr;
  rc = sqlite3_prepare_v2(db.get(), ASql.c_str(), static_cast<int>(ASql.size()), &rawStmt, &tail);
  std::unique_ptr<sqlite3_stmt, TStmtFinalizer> stmt(rawStmt);
  if (rc != SQLITE_OK) RaiseSqlite(db.get(), rc, ADatabase, AWhat);
  if (!stmt) throw EDatabaseError(AWhat + ": the query is empty");
  if (tail && !IsBlank(tail)) throw EDatabaseError(AWhat + ": only one SQL statement can be run");
  int columns = sqlite3_column_count(stmt.get());
  if (columns == 0) throw EDatabaseError(AWhat + ": the statement returns no columns");

  // Read every row first: the field types depend on all values.
  std::vector<TColumnProfile> profiles(static_cast<size_t>(columns));
  std::vector<std::vector<TFieldData>> rows;
  std::vector<std::vector<size_t>> blobCells;  // per row: columns holding blobs
  while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
    std::vector<TFieldData> row(static_cast<size_t>(columns));
    std::vector<size_t> blobs;
    for (int c = 0; c < columns; ++c) {
      TColumnProfile& profile = profiles[static_cast<size_t>(c)];
      switch (sqlite3_column_type(stmt.get(), c)) {
        case SQLITE_INTEGER: {
          int64_t v = sqlite3_column_int64(stmt.get(), c);
          row[static_cast<size_t>(c)] = v;
          profile.AddInteger(v);
          break;
        }
        case SQLITE_FLOAT: {
          double v = sqlite3_column_double(stmt.get(), c);
          row[static_cast<size_t>(c)] = v;
          profile.AddFloat(v);
          break;
        }
        case SQLITE_TEXT: {
          const char* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), c));
          std::string v(text ? text : "", static_cast<size_t>(sqlite3_column_bytes(stmt.get(), c)));
          profile.AddText(v);
          row[static_cast<size_t>(c)] = std::move(v);
          break;
        }
        case SQLITE_BLOB: {
          const char* data = static_cast<const char*>(sqlite3_column_blob(stmt.get(), c));
          size_t size = static_cast<size_t>(sqlite3_column_bytes(stmt.get(), c));
          row[static_cast<size_t>(c)] = std::string(data ? data : "", data ? size : 0);
          profile.AddBlob(size);
          blobs.push_back(static_cast<size_t>(c));
          break;
        }
        default:
          break;
      }
    }
    rows.push_back(std::move(row));
    blobCells.push_back(std::move(blobs));
    if (AProgress && rows.size() % LoadProgressStep == 0) AProgress(static_cast<int>(rows.size()));
  }
  if (rc != SQLITE_DONE) RaiseSqlite(db.get(), rc, ADatabase, AWhat);
  if (AProgress) AProgress(static_cast<int>(rows.size()));

  ADataSet.Close();
  ADataSet.FieldDefs().Clear();
  for (int c = 0; c < columns; ++c) {
    const char* nameText = sqlite3_column_name(stmt.get(), c);
    std::string name = nameText && *nameText ? nameText : "Column" + std::to_string(c + 1);
    for (int n = 1; ADataSet.FieldDefs().IndexOf(name) >= 0; ++n)
      name = std::string(nameText ? nameText : "Column") + "_" + std::to_string(n);
    int declaredSize = 0;
    const char* decl = sqlite3_column_decltype(stmt.get(), c);
    TFieldType declared = FieldTypeOfDeclaration(decl ? decl : "", declaredSize);
    int size = 0;
    TFieldType type = profiles[static_cast<size_t>(c)].Resolve(declared, declaredSize, size);
    ADataSet.FieldDefs().Add(name, type, size);
  }
  ADataSet.CreateDataSet();
  ADataSet.Reserve(rows.size());
  ADataSet.DisableControls();
  try {
    for (size_t r = 0; r < rows.size(); ++r) {
      ADataSet.Append();
      for (int c = 0; c < columns; ++c) {
        bool blob = false;
        for (size_t b : blobCells[r]) blob = blob || b == static_cast<size_t>(c);
        try {
          StoreValue(ADataSet.Fields(c), rows[r][static_cast<size_t>(c)], blob);
        } catch (const Exception& e) {
          throw EDatabaseError(AWhat + ", row " + std::to_string(r + 1) + ": " + e.Message());
        }
      }
      ADataSet.Post();
      rows[r].clear();
    }
    ADataSet.First();
  } catch (...) {
    ADataSet.EnableControls();
    throw;
  }
  ADataSet.EnableControls();
}

}  // namespace

void LoadSqliteTable(const std::string& ADatabase, const std::string& ATable, TMemDataSet& ADataSet,
                     const TLoadProgress& AProgress) {
  std::string quotedName;
  for (char c : ATable) {
    if (c == '"') quotedName.push_back('"');
    quotedName.push_back(c);
  }
  RunStatement(ADatabase, "SELECT * FROM \"" + quotedName + "\"",
               "cannot read table " + Quoted(ATable) + " from " + Quoted(ADatabase), ADataSet, AProgress);
}

void LoadSqliteQuery(const std::string& ADatabase, const std::string& ASql, TMemDataSet& ADataSet,
                     const TLoadProgress& AProgress) {
  RunStatement(ADatabase, ASql, "query failed on " + Quoted(ADatabase), ADataSet, AProgress);
}

}  // namespace kv
