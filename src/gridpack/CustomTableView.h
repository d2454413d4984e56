// Table-kind views and their items: the common base of table, banded table
// and card views.
//
// A `TcxCustomGridTableView` holds items (columns, card rows) in index order
// (the order of its item collection; the order on screen is the order of the
// visible ones).  An item has a caption, a visibility, a data binding that
// says where its values come from and what kind they are, and editor
// properties that say how its values are shown (EditProperties.h): its own
// `Properties`, else the default ones for its value type, unless its
// `OnGetProperties` handler gives others for a record; `OnGetDisplayText`
// may change the text of a cell.  Items belong to their view and are freed
// with it.  The view's records are reached through its view data
// (GridRecords.h); its styles give the parameters of its areas; its
// controller holds what the user does with it (scrolling, focus).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gridpack/EditProperties.h"
#include "gridpack/GridView.h"
#include "gridpack/Styles.h"
#include "gridpack/ValueTypes.h"

namespace kv {

class TcxCustomGridTableView;
class TcxCustomGridTableItem;
class TcxCustomGridRecord;
class TcxGridViewData;
class TcxCustomGridTableViewInfo;
class TcxCustomGridTableController;

// Where an item's values come from.  The base binding keeps them in the
// data controller (views without a dataset) under its data index; the
// data-bound binding reads a dataset field.
class TcxGridItemDataBinding {
 public:
  explicit TcxGridItemDataBinding(TcxCustomGridTableItem* AItem);
  virtual ~TcxGridItemDataBinding() = default;
  TcxCustomGridTableItem* Item() const { return FItem; }
  // The item's slot in a data controller that keeps values (stable while the
  // item lives; items are numbered in order of creation).
  int DataIndex() const { return FDataIndex; }
  // The caption an item shows when none was set.
  virtual std::string DefaultCaption() const { return std::string(); }
  // The kind of the item's values: the one set, else the variant type.
  virtual const TcxValueType* ValueTypeClass() const;
  void SetValueTypeClass(const TcxValueType* AValue) { FValueTypeClass = AValue; }
  // The editor properties an item has when none were set: by value type
  // (Booleans: check box; dates and date-times: date edit; times: time edit;
  // currency: currency edit; BLOBs: image; else text edit).
  virtual std::unique_ptr<TcxCustomEditProperties> DefaultProperties() const;
  virtual void Assign(const TcxGridItemDataBinding& ASource);

 private:
  friend class TcxCustomGridTableView;
  TcxCustomGridTableItem* FItem;
  int FDataIndex = 0;
  const TcxValueType* FValueTypeClass = nullptr;
};

// The content style slot of an item (0), with the item's content-style event.
class TcxCustomGridTableItemStyles : public TcxCustomStyles {
 public:
  enum : int { isContent = 0, isCustomItemLast = isContent };
  explicit TcxCustomGridTableItemStyles(TcxCustomGridTableItem* AItem, int ASlotCount = isCustomItemLast + 1)
      : TcxCustomStyles(ASlotCount), FItem(AItem) {}
  TcxCustomGridTableItem* Item() const { return FItem; }
  TcxStyle* Content() const { return GetStyle(isContent); }
  void SetContent(TcxStyle* AStyle) { SetValues(isContent, AStyle); }
  // Gives a style for one cell of the item (AStyle starts as nullptr).
  std::function<void(TcxCustomGridTableView* Sender, TcxCustomGridRecord* ARecord, TcxCustomGridTableItem* AItem,
                     TcxStyle*& AStyle)>
      OnGetContentStyle;

 private:
  TcxCustomGridTableItem* FItem;
};

class TcxCustomGridTableItem : public TComponent {
 public:
  ~TcxCustomGridTableItem() override;

  TcxCustomGridTableView* GridView() const { return FGridView; }
  // Position in the view's item collection, from 0; setting moves the item.
  int Index() const;
  void SetIndex(int AIndex);
  // Position among the visible items of the view (its VisibleItems); -1
  // when not shown.
  int VisibleIndex() const;

  bool Visible() const { return FVisible; }
  void SetVisible(bool AValue) { FVisible = AValue; }
  // The caption set, or the binding's default (a field's display name).
  std::string Caption() const;
  void SetCaption(const std::string& AValue);

  TcxGridItemDataBinding* DataBinding() const { return FDataBinding.get(); }

  // The item's own editor properties; nullptr when none were set.
  TcxCustomEditProperties* Properties() const { return FProperties.get(); }
  void SetProperties(std::unique_ptr<TcxCustomEditProperties> AProperties);
  // Replaces the properties with new ones of class T and returns them.
  template <class T>
  T* SetPropertiesClass() {
    auto p = std::make_unique<T>();
    T* raw = p.get();
    SetProperties(std::move(p));
    return raw;
  }
  // The properties in use when no record is concerned: the own ones, else
  // the binding's default ones (made once and kept).
  TcxCustomEditProperties* GetProperties() const;
  // The properties for a record: what OnGetProperties gives, else GetProperties().
  TcxCustomEditProperties* GetProperties(TcxCustomGridRecord* ARecord) const;
  // Gives properties for one record (AProperties starts as GetProperties()).
  std::function<void(TcxCustomGridTableItem* Sender, TcxCustomGridRecord* ARecord,
                     TcxCustomEditProperties*& AProperties)>
      OnGetProperties;
  // May change the text shown for a record (AText starts as the cell's text).
  std::function<void(TcxCustomGridTableItem* Sender, TcxCustomGridRecord* ARecord, std::string& AText)>
      OnGetDisplayText;
  // Whether OnGetDisplayText is set.
  bool HasDisplayTextHandler() const { return static_cast<bool>(OnGetDisplayText); }

  // The text the item shows for a value outside any record (summaries): a
  // field's display rules for data-bound items bound to a numeric or date
  // field with a DisplayFormat, else the editor's display text.
  virtual std::string ValueDisplayText(const Variant& AValue) const;

  virtual TcxCustomGridTableItemStyles* Styles() const { return FStyles.get(); }

  // Copies captions, visibility, width, binding, properties, events,
  // options and style slots of ASource (an item of the same class).
  virtual void Assign(const TcxCustomGridTableItem& ASource);

 protected:
  // Items are made by their view; the subclass passes its binding and styles.
  explicit TcxCustomGridTableItem(TcxCustomGridTableView* AGridView);
  void SetDataBinding(std::unique_ptr<TcxGridItemDataBinding> ABinding);
  void SetStyles(std::unique_ptr<TcxCustomGridTableItemStyles> AStyles) { FStyles = std::move(AStyles); }

 private:
  friend class TcxCustomGridTableView;
  TcxCustomGridTableView* FGridView;
  bool FVisible = true;
  bool FCaptionAssigned = false;
  std::string FCaption;
  std::unique_ptr<TcxGridItemDataBinding> FDataBinding;
  std::unique_ptr<TcxCustomEditProperties> FProperties;
  mutable std::unique_ptr<TcxCustomEditProperties> FDefaultProperties;
  mutable const TcxValueType* FDefaultPropertiesType = nullptr;
  std::unique_ptr<TcxCustomGridTableItemStyles> FStyles;
};

// Style slots of every table-kind view, in the documents' order.
class TcxCustomGridTableViewStyles : public TcxCustomStyles {
 public:
  enum : int {
    vsBackground = 0,
    vsContent = 1,
    vsContentEven = 2,
    vsContentOdd = 3,
    vsFilterBox = 4,
    vsInactive = 5,
    vsIncSearch = 6,
    vsSelection = 7,
    vsNavigator = 8,
    vsCustomTableLast = vsNavigator,
  };
  TcxCustomGridTableViewStyles(TcxCustomGridTableView* AView, int ASlotCount = vsCustomTableLast + 1)
      : TcxCustomStyles(ASlotCount), FView(AView) {}
  // The view (nullptr for the styles of a style sheet).
  TcxCustomGridTableView* GridView() const { return FView; }

  TcxStyle* Background() const { return GetStyle(vsBackground); }
  TcxStyle* Content() const { return GetStyle(vsContent); }
  TcxStyle* ContentEven() const { return GetStyle(vsContentEven); }
  TcxStyle* ContentOdd() const { return GetStyle(vsContentOdd); }
  TcxStyle* Selection() const { return GetStyle(vsSelection); }

  // Gives a style for a cell of the view (AItem may be nullptr: the record's
  // area outside the items).
  std::function<void(TcxCustomGridTableView* Sender, TcxCustomGridRecord* ARecord, TcxCustomGridTableItem* AItem,
                     TcxStyle*& AStyle)>
      OnGetContentStyle;

  // The parameters of the area of slot AIndex for a record and an item:
  // for content slots the content chain (GetContentParams), for other
  // slots the slot's style over the slot's defaults (subclasses add theirs).
  virtual void GetViewParams(int AIndex, TcxCustomGridRecord* ARecord, TcxCustomGridTableItem* AItem,
                             TcxViewParams& AParams) const;
  // A content cell: the item's OnGetContentStyle, the item's Content slot,
  // the view's OnGetContentStyle, ContentEven or ContentOdd by the record's
  // index, Content; defaults: window colour, window-text colour, the view's
  // font.  AItem and ARecord may be nullptr.
  void GetContentParams(TcxCustomGridRecord* ARecord, TcxCustomGridTableItem* AItem, TcxViewParams& AParams) const;
  // The default colour, text colour and font of a slot.
  virtual void GetDefaultViewParams(int AIndex, TcxViewParams& AParams) const;

  // Copies the slots, the style sheet and the events of ASource.
  virtual void Assign(const TcxCustomGridTableViewStyles& ASource);

 private:
  TcxCustomGridTableView* FView;
};

// A style sheet for table-kind views.
class TcxGridTableViewStyleSheet;

// What the user does with a table-kind view: the horizontal scroll position
// and the focused record.  Selection is kept by the data controller.
class TcxCustomGridTableController {
 public:
  explicit TcxCustomGridTableController(TcxCustomGridTableView* AView) : FView(AView) {}
  virtual ~TcxCustomGridTableController() = default;
  TcxCustomGridTableView* GridView() const { return FView; }
  // The horizontal scroll position in pixels (0 or more).
  int LeftPos() const { return FLeftPos; }
  void SetLeftPos(int AValue) { FLeftPos = AValue < 0 ? 0 : AValue; }
  // The number of selected rows (group and data rows) of the view's data.
  int SelectedRecordCount() const;
  // The selected rows that are visible, in display order.
  std::vector<TcxCustomGridRecord*> SelectedRecords() const;
  // The focused row (-1 when none).
  int FocusedRecordIndex() const { return FFocusedRecordIndex; }
  void SetFocusedRecordIndex(int AValue) { FFocusedRecordIndex = AValue < -1 ? -1 : AValue; }

 private:
  TcxCustomGridTableView* FView;
  int FLeftPos = 0;
  int FFocusedRecordIndex = -1;
};

class TcxGridTableOptionsSelection {
 public:
  // Whether several rows can be selected at once (the data controller's MultiSelect).
  bool MultiSelect() const;
  void SetMultiSelect(bool AValue);

 private:
  friend class TcxCustomGridTableView;
  TcxCustomGridTableView* FView = nullptr;
};

class TcxCustomGridTableView : public TcxCustomGridView {
 public:
  ~TcxCustomGridTableView() override;

  int ItemCount() const { return static_cast<int>(FItems.size()); }
  // The item at an index of the collection (list-index error when out of range).
  TcxCustomGridTableItem* Items(int AIndex) const;
  // Frees the item at AIndex; the following ones move up.
  void DeleteItem(int AIndex);
  void ClearItems();
  // The items shown, in the order they are shown: here the items whose
  // Visible is set, in index order; views that place their items otherwise
  // (banded views: only items in visible bands, band by band) say so.
  virtual int VisibleItemCount() const;
  virtual TcxCustomGridTableItem* VisibleItems(int AIndex) const;  // list-index error when out of range
  // The position of AItem among the visible items; -1 when it is not shown.
  virtual int VisibleIndexOf(const TcxCustomGridTableItem* AItem) const;
  // The item whose data index is ADataIndex; nullptr when none.
  TcxCustomGridTableItem* FindItemByDataIndex(int ADataIndex) const;

  // The rows of the view, as record objects (GridRecords.h).
  TcxGridViewData* ViewData() const { return FViewData.get(); }
  TcxCustomGridTableController* Controller() const { return FController.get(); }
  TcxGridTableOptionsSelection& OptionsSelection() { return FOptionsSelection; }

  virtual TcxCustomGridTableViewStyles* Styles() const = 0;
  // The view's font: its grid's font, else the default font.
  const TFont& Font() const;

  // The view's layout object, laid out in the grid's client area (or, for a
  // view without a grid, 800 x 600 pixels) from the first record.  Made when
  // first asked and laid out again on every call, so the same object always
  // holds the current layout.
  TcxCustomGridTableViewInfo* ViewInfo() const;
  // A new layout object of this view (the caller owns it; lay it out with
  // Calculate).
  virtual std::unique_ptr<TcxCustomGridTableViewInfo> CreateViewInfo() const = 0;

  // The items grouped on, in grouping order (none for views that do not group).
  virtual std::vector<TcxCustomGridTableItem*> GetGroupingItems() const { return {}; }

  // Copies items, options, styles, summaries and data settings of ASource
  // (a view of the same class); detail views are made this way.
  virtual void Assign(const TcxCustomGridTableView& ASource);

 protected:
  TcxCustomGridTableView(TComponent* AOwner, std::unique_ptr<TcxCustomDataController> ADataController);
  // The item class of this view.
  virtual std::unique_ptr<TcxCustomGridTableItem> NewItem() = 0;
  // Adds an item of the view's item class at the end.
  TcxCustomGridTableItem* CreateItem();
  void AssignTo(TcxCustomGridView& AClone) const override;
  // Called before an item is freed (summaries and styles forget it).
  virtual void ItemRemoving(TcxCustomGridTableItem* AItem);

 private:
  friend class TcxCustomGridTableItem;
  friend class TcxGridItemDataBinding;
  std::vector<std::unique_ptr<TcxCustomGridTableItem>> FItems;
  int FNextDataIndex = 0;
  std::unique_ptr<TcxGridViewData> FViewData;
  std::unique_ptr<TcxCustomGridTableController> FController;
  TcxGridTableOptionsSelection FOptionsSelection;
  mutable std::unique_ptr<TcxCustomGridTableViewInfo> FViewInfo;
};

}  // namespace kv
