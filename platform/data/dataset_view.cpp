// Which records the in-memory dataset shows, and in what order: its filter and index fields.
#include <algorithm>
#include <utility>

#include "data/client_dataset.h"
#include "data/filter_expression.h"
#include "data/record_order.h"
#include "data/text_compare.h"

void TClientDataSet::CompileFilter() {
  filterExpr_.reset();
  filterExpr_ = CompileFilterFor(fields_);
}

std::unique_ptr<FilterExpression> TClientDataSet::CompileFilterFor(
    const std::vector<std::unique_ptr<TField>>& fields) const {
  if (!filtered_ || filter_.find_first_not_of(' ') == std::string::npos) return nullptr;
  auto resolve = [&fields](std::string_view name) -> std::optional<FilterExpression::FieldRef> {
    for (const auto& f : fields)
      if (EqualsNoCase(f->FieldName(), name))
        return FilterExpression::FieldRef{static_cast<std::size_t>(f->Index()), f->DataType()};
    return std::nullopt;
  };
  try {
    return FilterExpression::Parse(filter_, resolve);
  } catch (const Exception& e) {
    Fail("expressão de filtro inválida \"" + filter_ + "\": " + e.what());
  }
}

bool TClientDataSet::PassesFilter(Id id) const { return !filterExpr_ || filterExpr_->Matches(store_, id); }

void TClientDataSet::RebuildView() {
  const std::vector<Id>& order = store_.Order();
  if (filterExpr_) {
    view_.clear();
    for (Id id : order)
      if (PassesFilter(id)) view_.push_back(id);
  } else {
    view_ = order;
  }
  SortRecords(view_, store_, indexFields_);
}

void TClientDataSet::RebuildViewKeeping(TBookmark keep) {
  int old = cur_;
  RebuildView();
  auto it = keep < 0 ? view_.end() : std::find(view_.begin(), view_.end(), static_cast<Id>(keep));
  if (it != view_.end()) cur_ = static_cast<int>(it - view_.begin());
  else cur_ = std::min(std::max(old, 0), static_cast<int>(view_.size()) - 1);
}

void TClientDataSet::SetIndexFieldNames(std::string names) {
  if (!Active()) {
    if (declared_) FieldIndexes(names);  // an unknown field fails now, not at the next load
    indexFieldNames_ = std::move(names);
    return;
  }
  CheckBrowseMode();
  indexFields_ = FieldIndexes(names);
  indexFieldNames_ = std::move(names);
  // The same record stays current; only its place changes.
  RebuildViewKeeping(GetBookmark());
  Notify(Notice::DataChanged);
}

void TClientDataSet::SetFilter(std::string expression) {
  if (expression == filter_) return;
  if (!Active() || !filtered_) {
    filter_ = std::move(expression);
    return;
  }
  CheckBrowseMode();
  std::string previous = std::exchange(filter_, std::move(expression));
  try {
    CompileFilter();
  } catch (...) {
    filter_ = std::move(previous);
    CompileFilter();
    throw;
  }
  RebuildView();
  cur_ = view_.empty() ? -1 : 0;
  bof_ = true;
  eof_ = view_.empty();
  Notify(Notice::DataChanged);
  First();
}

void TClientDataSet::SetFiltered(bool filtered) {
  if (filtered == filtered_) return;
  if (!Active()) {
    filtered_ = filtered;
    return;
  }
  CheckBrowseMode();
  filtered_ = filtered;
  try {
    CompileFilter();
  } catch (...) {
    filtered_ = !filtered;
    CompileFilter();
    throw;
  }
  RebuildView();
  cur_ = view_.empty() ? -1 : 0;
  bof_ = true;
  eof_ = view_.empty();
  Notify(Notice::DataChanged);
  First();
}
