// Moving through the in-memory dataset's visible records and finding one by key.
#include <algorithm>

#include "data/client_dataset.h"
#include "data/field_value.h"
#include "data/text_compare.h"

bool TClientDataSet::IsEmpty() const { return !Active() || (view_.empty() && state_ != dsInsert); }

int TClientDataSet::RecordCount() const { return Active() ? static_cast<int>(view_.size()) : 0; }

int TClientDataSet::RecNo() const {
  if (!Active()) return 0;
  if (state_ == dsInsert) return insertAt_ + 1;
  return cur_ + 1;
}

void TClientDataSet::SetRecNo(int recNo) {
  CheckActive("posicionar");
  CheckBrowseMode();
  if (view_.empty()) return;
  int target = std::clamp(recNo, 1, static_cast<int>(view_.size())) - 1;
  if (target == cur_) return;
  Fire(BeforeScroll);
  cur_ = target;
  bof_ = eof_ = false;
  Scrolled();
}

void TClientDataSet::First() {
  CheckActive("posicionar");
  CheckBrowseMode();
  Fire(BeforeScroll);
  cur_ = view_.empty() ? -1 : 0;
  bof_ = true;
  eof_ = view_.empty();
  Scrolled();
}

void TClientDataSet::Last() {
  CheckActive("posicionar");
  CheckBrowseMode();
  Fire(BeforeScroll);
  cur_ = static_cast<int>(view_.size()) - 1;
  eof_ = true;
  bof_ = view_.empty();
  Scrolled();
}

void TClientDataSet::Next() { MoveBy(1); }

void TClientDataSet::Prior() { MoveBy(-1); }

int TClientDataSet::MoveBy(int distance) {
  CheckActive("posicionar");
  CheckBrowseMode();
  if (distance == 0 || (distance > 0 && eof_) || (distance < 0 && bof_)) return 0;
  Fire(BeforeScroll);
  int last = static_cast<int>(view_.size()) - 1;
  long wanted = static_cast<long>(cur_) + distance;
  int target = static_cast<int>(std::clamp<long>(wanted, last < 0 ? -1 : 0, last));
  int moved = target - cur_;
  cur_ = target;
  eof_ = distance > 0 && wanted > last;
  bof_ = distance < 0 && wanted < 0;
  if (view_.empty()) bof_ = eof_ = true;
  Scrolled();
  return moved;
}

namespace {

// One key field and the value sought in it, prepared once for the whole search.
struct KeyTest {
  std::size_t field;
  bool text;
  bool fixed;
  std::string sought;  // texts, folded when the search ignores case
  bool soughtNull = false;
  double number = 0;
};

}  // namespace

bool TClientDataSet::Locate(std::string_view keyFields, const Variant& values, TLocateOptions options) {
  CheckActive("localizar");
  CheckBrowseMode();
  std::vector<std::size_t> fields = FieldIndexes(keyFields);
  if (fields.empty()) Fail("nenhum campo informado para localizar");
  std::vector<Variant> sought;
  if (values.isArray()) sought = values.asArray();
  else sought.push_back(values);
  if (sought.size() != fields.size())
    Fail("localizar por " + std::to_string(fields.size()) + " campos com " + std::to_string(sought.size()) +
         " valores");

  const bool noCase = options & loCaseInsensitive;
  const bool partial = options & loPartialKey;
  std::vector<KeyTest> tests;
  for (std::size_t k = 0; k < fields.size(); ++k) {
    const TField& f = *fields_[fields[k]];
    KeyTest t{fields[k], !f.IsNumeric() && f.DataType() != FieldType::DateTime && f.DataType() != FieldType::Boolean,
              f.DataType() == FieldType::FixedString, {}};
    if (t.text) {
      std::string s = StoredText(sought[k]);
      if (t.fixed) s = std::string(TrimRight(s));
      t.sought = noCase ? FoldCase(s) : s;
    } else {
      Variant v = ToFieldValue(sought[k], f.DataType(), 0, f.FieldName());
      t.soughtNull = v.isNull();
      if (!t.soughtNull) t.number = f.DataType() == FieldType::Boolean ? (v.asBool() ? 1 : 0) : v.asDouble();
    }
    tests.push_back(std::move(t));
  }

  auto matches = [&](Id id) {
    for (const KeyTest& t : tests) {
      if (t.text) {
        std::string_view cell = store_.Text(id, t.field);
        if (t.fixed) cell = TrimRight(cell);
        bool ok = partial ? (noCase ? StartsWithNoCase(cell, t.sought) : cell.substr(0, t.sought.size()) == t.sought)
                          : (noCase ? EqualsNoCase(cell, t.sought) : cell == t.sought);
        if (!ok) return false;
      } else {
        bool null = store_.IsNull(id, t.field);
        if (null != t.soughtNull || (!null && store_.Number(id, t.field) != t.number)) return false;
      }
    }
    return true;
  };

  Fire(BeforeScroll);
  auto it = std::find_if(view_.begin(), view_.end(), matches);
  if (it == view_.end()) return false;
  cur_ = static_cast<int>(it - view_.begin());
  bof_ = eof_ = false;
  Scrolled();
  return true;
}

TBookmark TClientDataSet::GetBookmark() const {
  if (!Active() || cur_ < 0) return -1;
  return static_cast<TBookmark>(CurrentId());
}

bool TClientDataSet::BookmarkValid(TBookmark bookmark) const {
  return Active() && bookmark >= 0 &&
         std::find(view_.begin(), view_.end(), static_cast<Id>(bookmark)) != view_.end();
}

void TClientDataSet::GotoBookmark(TBookmark bookmark) {
  CheckActive("posicionar");
  CheckBrowseMode();
  auto it = bookmark < 0 ? view_.end() : std::find(view_.begin(), view_.end(), static_cast<Id>(bookmark));
  if (it == view_.end()) Fail("registro não encontrado");
  Fire(BeforeScroll);
  cur_ = static_cast<int>(it - view_.begin());
  bof_ = eof_ = false;
  Scrolled();
}
