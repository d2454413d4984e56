// The grid-to-DBF export: field list from the view's visible columns, then a
// walk over the dataset writing one table record per dataset record.
#include "dbf/ViewToDbf.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "gridpack/DBBandedTableView.h"
#include "platform/DB.h"
#include "platform/Forms.h"

namespace kv {

namespace {

constexpr int MaxCharWidth = 254;  // widest C field of the format

TDBFFieldStruct Field(const std::string& AName, char AType, int ALength) {
  return TDBFFieldStruct{AName, AType, static_cast<uint8_t>(ALength), 0};
}

// A C field of the given width, or a memo field when the width exceeds 254.
TDBFFieldStruct TextField(const std::string& AName, int AWidth) {
  if (AWidth > MaxCharWidth) return Field(AName, 'M', 10);
  return Field(AName, 'C', std::max(AWidth, 1));
}

// One exported column: its bound field (nullptr when none) and table field name.
struct TExportColumn {
  TField* Field;
  std::string Name;
};

}  // namespace

std::string DBFFieldText(const TField& AField) {
  switch (AField.DataType()) {
    case ftBoolean:
      return AField.IsNull() ? std::string() : AField.AsBoolean() ? "T" : "F";
    case ftDate: {
      std::string text = AField.AsString();
      if (text.size() >= 8) text.erase(7, 1);
      if (text.size() >= 5) text.erase(4, 1);
      return text;
    }
    default:
      return AField.AsString();
  }
}

TDBFFieldStruct FieldToDBFField(const TField* AField) {
  if (!AField) return Field(std::string(), 'C', 10);
  const std::string& name = AField->FieldName;
  switch (AField->DataType()) {
    case ftString:
    case ftFixedChar:
      return TextField(name, AField->DataSize());
    case ftWideString:
      return TextField(name, 2 * AField->Size());
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
      return Field(name, 'C', 11);
    case ftLargeint:
      return Field(name, 'C', 20);
    case ftBoolean:
      return Field(name, 'L', 1);
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftFMTBcd:
      return Field(name, 'C', 20);
    case ftDate:
      return Field(name, 'C', 12);
    case ftDateTime:
    case ftTimeStamp:
      return Field(name, 'C', 19);
    case ftTime:
      return Field(name, 'T', 8);
    case ftMemo:
    case ftFmtMemo:
      return Field(name, 'M', 10);
    case ftGuid:
      return Field(name, 'C', 38);
    default:
      return Field(name, 'C', 10);
  }
}

void ExportViewToDBF(const std::string& AFileName, TcxGridDBBandedTableView* AView) {
  auto table = std::make_unique<TXBase>();
  table->SetFilename(AFileName);

  // The field list: one entry per visible column, in column index order.
  std::vector<TExportColumn> columns;
  std::vector<TDBFFieldStruct> fields;
  for (int i = 0; i < AView->ColumnCount(); ++i) {
    TcxGridDBBandedColumn* column = AView->Columns(i);
    if (column->VisibleIndex() < 0) continue;  // hidden, or outside the shown bands
    TField* field = column->DataBinding()->Field();
    TDBFFieldStruct entry = FieldToDBFField(field);
    // (appending to a one-letter string, not "F" + ..., avoids a GCC 12
    // -Wrestrict false positive in optimised builds)
    entry.FieldName.assign(1, 'F').append(std::to_string(fields.size()));
    columns.push_back(TExportColumn{field, entry.FieldName});
    fields.push_back(entry);
  }
  table->CreateTable(AFileName, fields);
  if (!table->Active()) table->SetActive(true);

  TDataSource* source = AView->DataController()->DataSource();
  TDataSet* dataSet = source ? source->DataSet() : nullptr;
  if (!dataSet) throw EDatabaseError("The view has no dataset to export");
  TBookmarkStr bookmark = dataSet->Bookmark();
  dataSet->DisableControls();
  try {
    dataSet->First();
    while (!dataSet->Eof()) {
      table->Append();
      table->Last();
      for (const TExportColumn& column : columns)
        if (column.Field) table->SetFieldByName(column.Name, DBFFieldText(*column.Field));
      table->Post();
      Application->ProcessMessages();
      dataSet->Next();
    }
  } catch (...) {
    // Give the dataset back as it was found, then let the original error go
    // on (a failure while restoring must not hide it).
    try {
      dataSet->EnableControls();
      dataSet->SetBookmark(bookmark);
    } catch (...) {
    }
    throw;
  }
  dataSet->EnableControls();
  dataSet->SetBookmark(bookmark);
  table->SetActive(false);
}

}  // namespace kv
