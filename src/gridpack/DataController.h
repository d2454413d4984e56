// Data controllers: what connects a view to its data.
//
// `TcxCustomDataController` is the base; `TcxGridDataController` serves views
// whose data is kept in the view; `TcxGridDBDataController` serves data-bound
// views: it reads a dataset through a data source and follows the dataset's
// notifications (open/close, changes, scrolling), which stop while the
// dataset's controls are disabled.  Records, grouping and summaries are built
// on these classes.
#pragma once

#include <cstdint>

#include "platform/DB.h"

namespace kv {

class TcxCustomGridView;

class TcxCustomDataController {
 public:
  virtual ~TcxCustomDataController() = default;
  TcxCustomGridView* GridView() const { return FGridView; }

  // The number of data records the controller can show.
  virtual int RecordCount() const = 0;

  // Counts of the notifications received (a change of the data, of its state,
  // a move of the current record): what the view redraws after.
  uint64_t DataChangeCount() const { return FDataChanges; }
  uint64_t ScrollCount() const { return FScrolls; }

 protected:
  // Called when the data changed or was opened or closed.
  virtual void DataChanged() { ++FDataChanges; }
  virtual void FocusedRecordChanged() { ++FScrolls; }

 private:
  friend class TcxCustomGridView;
  TcxCustomGridView* FGridView = nullptr;
  uint64_t FDataChanges = 0;
  uint64_t FScrolls = 0;
};

// The controller of views that hold their own data (no dataset).
class TcxGridDataController : public TcxCustomDataController {
 public:
  int RecordCount() const override { return 0; }
};

// The controller of data-bound views.
class TcxGridDBDataController : public TcxCustomDataController {
 public:
  TcxGridDBDataController();
  ~TcxGridDBDataController() override;

  TDataSource* DataSource() const { return FLink.DataSource(); }
  void SetDataSource(TDataSource* ADataSource);
  // The data source's dataset; nullptr when there is no source or no dataset.
  TDataSet* DataSet() const;

  // The records of an active dataset; 0 otherwise.
  int RecordCount() const override;

  // Key fields (";"-separated), used by master-detail links.
  std::string KeyFieldNames;

 private:
  class TLink : public TDataLink {
   public:
    explicit TLink(TcxGridDBDataController* AOwner) : FOwner(AOwner) {}
    void ActiveChanged() override { FOwner->DataChanged(); }
    void DataSetChanged() override { FOwner->DataChanged(); }
    void DataSetScrolled() override { FOwner->FocusedRecordChanged(); }

   private:
    TcxGridDBDataController* FOwner;
  };
  TLink FLink;
};

}  // namespace kv
