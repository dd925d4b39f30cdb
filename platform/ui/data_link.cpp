#include "ui/data_link.h"

#include <utility>

#include "ui/component.h"

namespace {
int peeking = 0;
}

TDataLink::~TDataLink() {
  if (source_) source_->Unsubscribe(this);
}

void TDataLink::SetDataSource(TDataSource* source) {
  if (source == source_) return;
  if (source_) source_->Unsubscribe(this);
  source_ = source;
  if (source_) source_->Subscribe(this);
  Tell(Notice::DataChanged, nullptr);
}

void TDataLink::Removing(const TComponent& doomed) {
  if (source_ && doomed.HeldObject() == static_cast<const void*>(source_)) SetDataSource(nullptr);
}

void TDataLink::Tell(Notice notice, TField* field) {
  if (peeking > 0 || !handler_) return;
  handler_(notice, field);
}

RowPeek::RowPeek(TClientDataSet& data, TDataSource* source)
    : data_(data), source_(source), home_(data.RecNo()) {
  ++peeking;
  before_scroll_ = std::exchange(data_.BeforeScroll, nullptr);
  after_scroll_ = std::exchange(data_.AfterScroll, nullptr);
  if (source_) on_data_change_ = std::exchange(source_->OnDataChange, nullptr);
}

RowPeek::~RowPeek() {
  if (moved_ && home_ > 0) {
    try {
      data_.SetRecNo(home_);
    } catch (...) {
      // Reading moved nothing the user could have changed; stay put.
    }
  }
  data_.BeforeScroll = std::move(before_scroll_);
  data_.AfterScroll = std::move(after_scroll_);
  if (source_) source_->OnDataChange = std::move(on_data_change_);
  --peeking;
}

bool RowPeek::MoveTo(int recNo) {
  if (recNo == data_.RecNo()) return true;
  if (data_.State() != dsBrowse || recNo < 1 || recNo > data_.RecordCount()) return false;
  data_.SetRecNo(recNo);
  moved_ = true;
  return data_.RecNo() == recNo;
}

bool RowPeek::Active() { return peeking > 0; }
