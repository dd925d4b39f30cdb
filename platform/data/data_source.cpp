#include "data_source.h"

#include <algorithm>

TDataSource::TDataSource(std::string name, TClientDataSet* dataSet) : name_(std::move(name)) {
  SetDataSet(dataSet);
}

TDataSource::~TDataSource() {
  if (dataSet_) dataSet_->Detach(this);
}

void TDataSource::SetDataSet(TClientDataSet* dataSet) {
  if (dataSet == dataSet_) return;
  if (dataSet_) dataSet_->Detach(this);
  dataSet_ = dataSet;
  if (dataSet_) dataSet_->Attach(this);
  // Whatever showed the old dataset now shows the new one.
  Dispatch(TClientDataSet::Notice::StateChanged, nullptr);
  Dispatch(TClientDataSet::Notice::DataChanged, nullptr);
}

void TDataSource::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  // The switch itself is heard: controls blank out or show the data again.
  Tell(TClientDataSet::Notice::StateChanged, nullptr);
  if (enabled_) Tell(TClientDataSet::Notice::DataChanged, nullptr);
}

TDataSetState TDataSource::State() const {
  return dataSet_ && enabled_ ? dataSet_->State() : dsInactive;
}

void TDataSource::Subscribe(TDataObserver* observer) {
  if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end()) observers_.push_back(observer);
}

void TDataSource::Unsubscribe(TDataObserver* observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void TDataSource::Dispatch(TClientDataSet::Notice notice, TField* field) {
  if (enabled_) Tell(notice, field);
}

void TDataSource::Tell(TClientDataSet::Notice notice, TField* field) {
  std::vector<TDataObserver*> observers = observers_;  // an observer may unsubscribe while being told
  auto live = [this](TDataObserver* o) { return std::find(observers_.begin(), observers_.end(), o) != observers_.end(); };
  using N = TClientDataSet::Notice;
  for (TDataObserver* o : observers) {
    if (!live(o)) continue;
    switch (notice) {
      case N::RecordMoved: o->RecordMoved(); break;
      case N::DataChanged: o->DataSetChanged(); break;
      case N::StateChanged: o->StateChanged(); break;
      case N::FieldChanged: o->FieldChanged(*field); break;
    }
  }
  if (notice == N::StateChanged) {
    if (OnStateChange) OnStateChange(*this);
  } else if (OnDataChange) {
    OnDataChange(*this, notice == N::FieldChanged ? field : nullptr);
  }
}
