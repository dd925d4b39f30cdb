// Fields, state, events and observers of the in-memory dataset.
#include "client_dataset.h"

#include <algorithm>

#include "data/data_source.h"
#include "data/filter_expression.h"
#include "data/text_compare.h"

TClientDataSet::TClientDataSet(std::string name) : name_(std::move(name)) {}

TClientDataSet::~TClientDataSet() {
  for (TDataSource* s : sources_) s->dataSet_ = nullptr;
}

void TClientDataSet::Fail(const std::string& message) const {
  throw Exception(name_.empty() ? message : name_ + ": " + message);
}

// --- fields ---

TField& TClientDataSet::AddField(std::string name, FieldType type, int size) {
  if (Active()) Fail("não é possível declarar o campo '" + name + "' com o conjunto de dados aberto");
  if (FindField(name)) Fail("o campo '" + name + "' já existe");
  if (!declared_) {
    // Fields a packet brought give way to the declared ones; holders see them empty.
    for (auto& f : fields_) {
      f->dataSet_ = nullptr;
      retired_.push_back(std::move(f));
    }
    fields_.clear();
  }
  declared_ = true;
  auto field = std::make_unique<TField>(this, std::move(name), type, size);
  field->index_ = static_cast<int>(fields_.size());
  fields_.push_back(std::move(field));
  return *fields_.back();
}

TField& TClientDataSet::Fields(int index) const {
  if (index < 0 || index >= FieldCount())
    Fail("índice de campo " + std::to_string(index) + " fora dos " + std::to_string(FieldCount()) + " campos");
  return *fields_[static_cast<std::size_t>(index)];
}

TField* TClientDataSet::FindField(std::string_view name) const {
  for (const auto& f : fields_)
    if (EqualsNoCase(f->FieldName(), name)) return f.get();
  return nullptr;
}

TField& TClientDataSet::FieldByName(std::string_view name) const {
  if (TField* f = FindField(name)) return *f;
  if (!Active() && !declared_) {
    // A closed dataset without a field list reads as empty: any field is an empty one.
    std::string key = FoldCase(name);
    auto it = placeholders_.find(key);
    if (it == placeholders_.end())
      it = placeholders_.emplace(key, std::make_unique<TField>(nullptr, std::string(name), FieldType::String, 0)).first;
    return *it->second;
  }
  Fail("campo '" + std::string(name) + "' não encontrado");
}

std::vector<std::size_t> TClientDataSet::FieldIndexes(std::string_view names) const {
  return FieldIndexes(names, fields_);
}

std::vector<std::size_t> TClientDataSet::FieldIndexes(std::string_view names,
                                                      const std::vector<std::unique_ptr<TField>>& fields) const {
  std::vector<std::size_t> out;
  std::size_t start = 0;
  while (start <= names.size()) {
    std::size_t end = names.find(';', start);
    if (end == std::string_view::npos) end = names.size();
    std::string_view name = names.substr(start, end - start);
    while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    if (!name.empty()) {
      auto f = std::find_if(fields.begin(), fields.end(), [&](const auto& x) { return EqualsNoCase(x->FieldName(), name); });
      if (f == fields.end()) Fail("campo '" + std::string(name) + "' não encontrado");
      out.push_back(static_cast<std::size_t>((*f)->Index()));
    }
    start = end + 1;
  }
  return out;
}

// --- state and events ---

void TClientDataSet::CheckActive(const char* operation) const {
  if (!Active())
    Fail(std::string("não é possível ") + operation + " num conjunto de dados fechado");
}

void TClientDataSet::CheckBrowseMode() {
  if (state_ == dsEdit || state_ == dsInsert) {
    if (modified_) Post();
    else Cancel();
  }
}

void TClientDataSet::SetState(TDataSetState state) {
  if (state == state_) return;
  state_ = state;
  Notify(Notice::StateChanged);
}

void TClientDataSet::Fire(const DataSetEvent& event) {
  if (event) event(*this);
}

void TClientDataSet::Scrolled() {
  Notify(Notice::RecordMoved);
  Fire(AfterScroll);
}

// --- observers ---

void TClientDataSet::Notify(Notice notice, TField* field) {
  if (disableCount_ > 0) return;
  std::vector<TDataSource*> sources = sources_;  // a handler may unlink a source
  for (TDataSource* s : sources)
    if (std::find(sources_.begin(), sources_.end(), s) != sources_.end()) s->Dispatch(notice, field);
}

void TClientDataSet::Attach(TDataSource* source) {
  if (std::find(sources_.begin(), sources_.end(), source) == sources_.end()) sources_.push_back(source);
}

void TClientDataSet::Detach(TDataSource* source) {
  sources_.erase(std::remove(sources_.begin(), sources_.end(), source), sources_.end());
}

void TClientDataSet::DisableControls() {
  if (disableCount_++ == 0) disableState_ = state_;
}

void TClientDataSet::EnableControls() {
  if (disableCount_ == 0 || --disableCount_ > 0) return;
  // Observers missed everything meanwhile: tell them the state and refresh.
  if (disableState_ != state_) Notify(Notice::StateChanged);
  if (Active()) Notify(Notice::DataChanged);
}
