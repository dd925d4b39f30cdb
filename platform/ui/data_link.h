#pragma once
// What ties a data-aware control to its data source: subscribes to it,
// passes its notices on, and drops it when the source goes away.
//
// Drawing a grid reads rows other than the current one by moving the
// dataset with its scroll events held back (RowPeek); data-aware controls
// ignore the notices of those moves.

#include <functional>

#include "data/data_source.h"

class TComponent;

class TDataLink : private TDataObserver {
 public:
  enum class Notice { RecordMoved, DataChanged, StateChanged, FieldChanged };
  using Handler = std::function<void(Notice notice, TField* field)>;

  explicit TDataLink(Handler handler) : handler_(std::move(handler)) {}
  ~TDataLink() override;
  TDataLink(const TDataLink&) = delete;
  TDataLink& operator=(const TDataLink&) = delete;

  TDataSource* DataSource() const { return source_; }
  void SetDataSource(TDataSource* source);
  TClientDataSet* DataSet() const { return source_ ? source_->DataSet() : nullptr; }
  // A source with an open dataset.
  bool Active() const { return source_ && source_->State() != dsInactive; }
  // Unlinks when `doomed` is (or holds) the source.
  void Removing(const TComponent& doomed);

 private:
  void RecordMoved() override { Tell(Notice::RecordMoved, nullptr); }
  void DataSetChanged() override { Tell(Notice::DataChanged, nullptr); }
  void StateChanged() override { Tell(Notice::StateChanged, nullptr); }
  void FieldChanged(TField& field) override { Tell(Notice::FieldChanged, &field); }
  void Tell(Notice notice, TField* field);

  Handler handler_;
  TDataSource* source_ = nullptr;
};

// Moves a browsing dataset to other rows to read them, with its scroll
// events and the given source's data-change event held back, and puts it
// back where it was at the end. Does nothing on a dataset being edited.
class RowPeek {
 public:
  RowPeek(TClientDataSet& data, TDataSource* source);
  ~RowPeek();
  RowPeek(const RowPeek&) = delete;
  RowPeek& operator=(const RowPeek&) = delete;

  // Makes row `recNo` (1-based) current for reading; false when it cannot.
  bool MoveTo(int recNo);
  // True while any peek is under way.
  static bool Active();

 private:
  TClientDataSet& data_;
  TDataSource* source_;
  int home_;
  bool moved_ = false;
  TClientDataSet::DataSetEvent before_scroll_, after_scroll_;
  std::function<void(TDataSource&, TField*)> on_data_change_;
};
