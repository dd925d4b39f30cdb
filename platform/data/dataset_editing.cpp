// Editing the in-memory dataset: the pending record, insert, post, cancel, delete.
#include <algorithm>

#include "data/client_dataset.h"

Variant TClientDataSet::CurrentValue(int index) const {
  if (index < 0) return Variant();
  if (state_ == dsEdit || state_ == dsInsert) return buffer_[static_cast<std::size_t>(index)];
  if (!Active() || cur_ < 0) return Variant();
  return store_.Value(CurrentId(), static_cast<std::size_t>(index));
}

void TClientDataSet::WriteField(TField& field, Variant value) {
  if (state_ != dsEdit && state_ != dsInsert)
    Fail("não está em modo de edição ou inclusão (campo " + field.FieldName() + ")");
  buffer_[static_cast<std::size_t>(field.Index())] = std::move(value);
  modified_ = true;
  if (field.OnChange) field.OnChange(field);
  Notify(Notice::FieldChanged, &field);
}

void TClientDataSet::Append() { BeginInsert(true); }

void TClientDataSet::Insert() { BeginInsert(false); }

void TClientDataSet::BeginInsert(bool append) {
  CheckActive("incluir");
  CheckBrowseMode();
  Fire(BeforeInsert);
  Fire(BeforeScroll);
  curBeforeInsert_ = cur_;
  insertAt_ = append || cur_ < 0 ? static_cast<int>(view_.size()) : cur_;
  buffer_.assign(fields_.size(), Variant());
  SetState(dsInsert);
  try {
    Fire(OnNewRecord);
  } catch (...) {
    buffer_.clear();
    SetState(dsBrowse);
    throw;
  }
  // Values given by OnNewRecord alone do not make the record worth keeping.
  modified_ = false;
  bof_ = eof_ = false;
  Notify(Notice::DataChanged);
  Fire(AfterInsert);
  Fire(AfterScroll);
}

void TClientDataSet::Edit() {
  CheckActive("editar");
  if (state_ == dsEdit || state_ == dsInsert) return;
  if (view_.empty()) {
    Insert();
    return;
  }
  Fire(BeforeEdit);
  buffer_ = store_.RowOf(CurrentId());
  modified_ = false;
  SetState(dsEdit);
  Notify(Notice::DataChanged);
  Fire(AfterEdit);
}

void TClientDataSet::Post() {
  CheckActive("gravar");
  if (state_ != dsEdit && state_ != dsInsert) return;
  Fire(BeforePost);
  Id id;
  if (state_ == dsEdit) {
    id = CurrentId();
    store_.Replace(id, buffer_);
  } else {
    id = store_.Add(buffer_);
    std::vector<Id>& order = store_.Order();
    if (insertAt_ >= static_cast<int>(view_.size())) {
      order.push_back(id);
    } else {
      Id before = view_[static_cast<std::size_t>(insertAt_)];
      order.insert(std::find(order.begin(), order.end(), before), id);
    }
  }
  if (indexFields_.empty() && !filterExpr_) {
    if (state_ == dsInsert) {
      view_.insert(view_.begin() + insertAt_, id);
      cur_ = insertAt_;
    }
  } else {
    // The record takes its place in the order, or leaves the view when the filter rejects it.
    RebuildViewKeeping(static_cast<TBookmark>(id));
  }
  buffer_.clear();
  modified_ = false;
  bof_ = eof_ = false;
  SetState(dsBrowse);
  Notify(Notice::DataChanged);
  Fire(AfterPost);
}

void TClientDataSet::Cancel() {
  if (state_ != dsEdit && state_ != dsInsert) return;
  Fire(BeforeCancel);
  bool wasInsert = state_ == dsInsert;
  if (wasInsert) Fire(BeforeScroll);
  buffer_.clear();
  modified_ = false;
  if (wasInsert) {
    cur_ = std::min(curBeforeInsert_, static_cast<int>(view_.size()) - 1);
    bof_ = eof_ = view_.empty();
  }
  SetState(dsBrowse);
  Notify(Notice::DataChanged);
  Fire(AfterCancel);
  if (wasInsert) Fire(AfterScroll);
}

void TClientDataSet::Delete() {
  CheckActive("excluir");
  if (state_ == dsInsert) {
    Cancel();
    return;
  }
  if (view_.empty()) Fail("não é possível excluir num conjunto de dados vazio");
  Fire(BeforeDelete);
  Fire(BeforeScroll);
  buffer_.clear();
  modified_ = false;
  Id id = CurrentId();
  store_.Remove(id);
  view_.erase(view_.begin() + cur_);
  cur_ = std::min(cur_, static_cast<int>(view_.size()) - 1);
  bof_ = eof_ = view_.empty();
  SetState(dsBrowse);
  Notify(Notice::DataChanged);
  Fire(AfterDelete);
  Fire(AfterScroll);
}
