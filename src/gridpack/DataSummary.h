// Summaries of a data controller: the footer summary items, the group
// summary items (the default ones and those of summary groups linked to
// grouped columns) and their computed values and texts.
//
// Values are computed from the controller's records when asked (nothing is
// cached, so they always follow the data, the grouping and the items):
//   skSum      sum of the numeric values (null when there is none); integers
//              sum to a 64-bit integer, currency to currency, others to a float
//   skCount    number of records whose value is not null (of all records
//              when the item is linked to nothing); an integer
//   skAverage  sum / number of the numeric values, a float (null when none)
//   skMin/Max  the least / greatest non-null value by VarCompare (null when none)
//   skNone     null
// An item takes its values from the dataset field `FieldName` when it is a
// data-bound item naming one, else from its column.  A footer item sums all
// records of the controller; a group item the data records of one group.
//
// Texts (`FormatValue`, the same in the footer and in group rows): a null
// value gives ""; with a `Format`, dates go through FormatDateTime and
// numbers through FormatFloat (so a format without digit places, such as
// "合计", is shown as it is); texts are shown as they are; without a
// `Format`, counts are whole numbers and other values are shown as their
// column shows a value (ValueDisplayText of the column), or as the value's
// text without a column.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Variant.h"

namespace kv {

class TcxCustomDataController;
class TcxCustomGridTableItem;
class TcxGridColumn;
class TcxDataSummary;
class TcxDataSummaryItems;

enum TcxSummaryKind { skNone, skSum, skMin, skMax, skCount, skAverage };
enum TcxSummaryPosition { spGroup, spFooter };

class TcxDataSummaryItem {
 public:
  virtual ~TcxDataSummaryItem() = default;
  TcxDataSummaryItems* SummaryItems() const { return FItems; }
  // Position in its collection.
  int Index() const;

  TcxSummaryKind Kind = skNone;
  std::string Format;
  // A caption for the item (shown where summaries are chosen); no effect on texts.
  std::string DisplayText;
  // Whether the summary is shown sorted (group rows and group footers may
  // style such a summary apart).
  bool Sorted = false;

  // spFooter for items of a footer collection, whatever was set; items of
  // group collections are spGroup (shown in the group row) unless set to
  // spFooter (shown in the group footer).
  TcxSummaryPosition Position() const;
  void SetPosition(TcxSummaryPosition AValue) { FPosition = AValue; }

  // The item whose values are summed; nullptr when none.
  TcxCustomGridTableItem* ItemLink() const { return FItemLink; }
  void SetItemLink(TcxCustomGridTableItem* AItem) { FItemLink = AItem; }

  // The text of a value of this summary (rules above).
  virtual std::string FormatValue(const Variant& AValue, bool AIsFooter) const;

  // Copies the settings of ASource; the link is mapped by the caller.
  virtual void Assign(const TcxDataSummaryItem& ASource);

 protected:
  TcxDataSummaryItem() = default;

 private:
  friend class TcxDataSummaryItems;
  TcxDataSummaryItems* FItems = nullptr;
  TcxSummaryPosition FPosition = spGroup;
  TcxCustomGridTableItem* FItemLink = nullptr;
};

// A summary item of a table view, linked to a column.
class TcxGridTableSummaryItem : public TcxDataSummaryItem {
 public:
  TcxGridColumn* Column() const;
  void SetColumn(TcxGridColumn* AColumn);
};

// A summary item of a data-bound table view: it may name the dataset field
// it sums instead of taking its column's values.
class TcxGridDBTableSummaryItem : public TcxGridTableSummaryItem {
 public:
  std::string FieldName;
  void Assign(const TcxDataSummaryItem& ASource) override;
};

// A collection of summary items.  Items are made by the controller (of the
// class its views use) and owned by the collection.
class TcxDataSummaryItems {
 public:
  TcxDataSummaryItems(TcxDataSummary* ASummary, bool AIsFooter) : FSummary(ASummary), FIsFooter(AIsFooter) {}
  virtual ~TcxDataSummaryItems() = default;
  TcxDataSummaryItems(const TcxDataSummaryItems&) = delete;
  TcxDataSummaryItems& operator=(const TcxDataSummaryItems&) = delete;

  TcxDataSummary* Summary() const { return FSummary; }
  bool IsFooter() const { return FIsFooter; }
  int Count() const { return static_cast<int>(FItems.size()); }
  TcxDataSummaryItem* Items(int AIndex) const;  // list-index error when out of range
  // Adds an item of the controller's summary item class.
  TcxDataSummaryItem* Add();
  // Adds an item with a link, a kind and a format.
  TcxDataSummaryItem* Add(TcxCustomGridTableItem* AItemLink, TcxSummaryPosition APosition, TcxSummaryKind AKind,
                          const std::string& AFormat = std::string());
  void Delete(int AIndex);
  void Clear();
  // The first item linked to AItem; nullptr when none.
  TcxDataSummaryItem* ItemOfItemLink(const TcxCustomGridTableItem* AItem) const;

 private:
  friend class TcxDataSummary;
  TcxDataSummary* FSummary;
  bool FIsFooter;
  std::vector<std::unique_ptr<TcxDataSummaryItem>> FItems;
};

// Group summary items, with the texts that frame them in a group row:
// BeginText, the item texts joined by Separator and a blank, EndText:
// "(12, 3.5)".
class TcxDataGroupSummaryItems : public TcxDataSummaryItems {
 public:
  explicit TcxDataGroupSummaryItems(TcxDataSummary* ASummary) : TcxDataSummaryItems(ASummary, false) {}
  std::string BeginText = "(";
  std::string EndText = ")";
  std::string Separator = ",";
};

// Group summary items used for the groups of the linked items (grouped
// columns) instead of the default group summary items.
class TcxDataSummaryGroup {
 public:
  explicit TcxDataSummaryGroup(TcxDataSummary* ASummary) : FSummaryItems(ASummary) {}
  TcxDataGroupSummaryItems& SummaryItems() { return FSummaryItems; }
  const TcxDataGroupSummaryItems& SummaryItems() const { return FSummaryItems; }
  // The grouped items whose groups use these summaries.
  std::vector<TcxCustomGridTableItem*> Links;

 private:
  TcxDataGroupSummaryItems FSummaryItems;
};

class TcxDataSummary {
 public:
  explicit TcxDataSummary(TcxCustomDataController* AController);
  ~TcxDataSummary();
  TcxDataSummary(const TcxDataSummary&) = delete;
  TcxDataSummary& operator=(const TcxDataSummary&) = delete;

  TcxCustomDataController* DataController() const { return FController; }

  TcxDataSummaryItems& FooterSummaryItems() { return FFooterSummaryItems; }
  const TcxDataSummaryItems& FooterSummaryItems() const { return FFooterSummaryItems; }
  TcxDataGroupSummaryItems& DefaultGroupSummaryItems() { return FDefaultGroupSummaryItems; }
  const TcxDataGroupSummaryItems& DefaultGroupSummaryItems() const { return FDefaultGroupSummaryItems; }

  int SummaryGroupCount() const { return static_cast<int>(FSummaryGroups.size()); }
  TcxDataSummaryGroup* SummaryGroups(int AIndex) const;  // list-index error when out of range
  TcxDataSummaryGroup* AddSummaryGroup();
  void DeleteSummaryGroup(int AIndex);

  // The group summary items of groups at grouping level ALevel: those of
  // the first summary group linked to the item grouped at that level, else
  // the default ones.
  const TcxDataGroupSummaryItems& GroupSummaryItems(int ALevel) const;

  // Footer values and texts, computed over all records of the controller.
  Variant FooterSummaryValues(int AIndex) const;  // list-index error when out of range
  std::string FooterSummaryTexts(int AIndex) const;

  // The summary items and values of the group shown in row ARowIndex; false
  // (and nothing filled) when the row is no group row or the group's level
  // has no summary items.
  bool GetGroupSummaryInfo(int ARowIndex, const TcxDataGroupSummaryItems*& AItems, std::vector<Variant>& AValues) const;
  // The summary text of a group row: BeginText, the texts of the items
  // positioned spGroup (non-empty texts only) joined by Separator and a
  // blank, EndText; "" when there is no such text.
  std::string GroupSummaryText(int ARowIndex) const;

  // The value of one summary item over some records of the controller.
  Variant Calculate(const TcxDataSummaryItem& AItem, const std::vector<int>& ARecordIndexes) const;
  Variant Calculate(const TcxDataSummaryItem& AItem, const int* ARecordIndexes, size_t ACount) const;

  // Drops every link to AItem (the item is being freed).
  void ItemRemoved(const TcxCustomGridTableItem* AItem);

 private:
  TcxCustomDataController* FController;
  TcxDataSummaryItems FFooterSummaryItems;
  TcxDataGroupSummaryItems FDefaultGroupSummaryItems;
  std::vector<std::unique_ptr<TcxDataSummaryGroup>> FSummaryGroups;
};

}  // namespace kv
