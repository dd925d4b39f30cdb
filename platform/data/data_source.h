#pragma once
// The link between a dataset and what shows it. Data-aware controls (grids,
// edits) subscribe as observers; forms hook OnStateChange and OnDataChange.
// Nothing is passed on while the source is disabled or the dataset's
// controls are disabled.

#include <functional>
#include <string>
#include <vector>

#include "data/client_dataset.h"

// What a data-aware control hears from its data source.
class TDataObserver {
 public:
  virtual ~TDataObserver() = default;
  virtual void RecordMoved() {}     // another record became current
  virtual void DataSetChanged() {}  // content reloaded, posted, deleted, reordered or refiltered
  virtual void StateChanged() {}    // opened, closed, began or ended editing
  virtual void FieldChanged(TField& /*field*/) {}  // a field of the pending record was written
};

class TDataSource {
 public:
  explicit TDataSource(std::string name = "", TClientDataSet* dataSet = nullptr);
  ~TDataSource();
  TDataSource(const TDataSource&) = delete;
  TDataSource& operator=(const TDataSource&) = delete;

  const std::string& Name() const { return name_; }
  TClientDataSet* DataSet() const { return dataSet_; }
  void SetDataSet(TClientDataSet* dataSet);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // The dataset's state, or dsInactive when there is none or the source is disabled.
  TDataSetState State() const;

  void Subscribe(TDataObserver* observer);
  void Unsubscribe(TDataObserver* observer);

  std::function<void(TDataSource& sender)> OnStateChange;
  // `field` is the written field, or nullptr when the record or the content changed.
  std::function<void(TDataSource& sender, TField* field)> OnDataChange;

 private:
  friend class TClientDataSet;
  void Dispatch(TClientDataSet::Notice notice, TField* field);
  void Tell(TClientDataSet::Notice notice, TField* field);

  std::string name_;
  TClientDataSet* dataSet_ = nullptr;
  bool enabled_ = true;
  std::vector<TDataObserver*> observers_;
};
