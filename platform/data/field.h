#pragma once
// A typed column of an in-memory dataset, seen through its current record:
// reading gives the current record's value (or the pending edit's); writing
// needs the dataset in edit or insert state. Carries what the screens show:
// label, visibility, formats, edit mask, read-only flag and text handlers.

#include <functional>
#include <string>

#include "data/packet.h"
#include "data/variant.h"

class TClientDataSet;

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

class TField {
 public:
  // Display or edit text of the field; `displayText` is true for the text
  // shown in a browsing grid and false for the text being edited.
  using GetTextHandler = std::function<void(TField& sender, std::string& text, bool displayText)>;
  using SetTextHandler = std::function<void(TField& sender, const std::string& text)>;
  using FieldEvent = std::function<void(TField& sender)>;

  TField(TClientDataSet* dataSet, std::string name, FieldType type, int size);
  TField(const TField&) = delete;
  TField& operator=(const TField&) = delete;

  // --- definition ---
  const std::string& FieldName() const { return name_; }
  FieldType DataType() const { return type_; }
  int Size() const { return size_; }
  TClientDataSet* DataSet() const { return dataSet_; }
  int Index() const { return index_; }
  bool IsNumeric() const { return type_ == FieldType::Float || type_ == FieldType::Integer; }

  const std::string& DisplayLabel() const { return label_.empty() ? name_ : label_; }
  TField& SetDisplayLabel(std::string label) { label_ = std::move(label); return *this; }
  bool Visible() const { return visible_; }
  TField& SetVisible(bool v) { visible_ = v; return *this; }
  // Blocks user edits through data-aware controls; code may still write.
  bool ReadOnly() const { return readOnly_; }
  TField& SetReadOnly(bool v) { readOnly_ = v; return *this; }
  const std::string& DisplayFormat() const { return displayFormat_; }
  TField& SetDisplayFormat(std::string f) { displayFormat_ = std::move(f); return *this; }
  const std::string& EditFormat() const { return editFormat_; }
  TField& SetEditFormat(std::string f) { editFormat_ = std::move(f); return *this; }
  const std::string& EditMask() const { return editMask_; }
  TField& SetEditMask(std::string m) { editMask_ = std::move(m); return *this; }
  TAlignment Alignment() const;
  TField& SetAlignment(TAlignment a) { alignment_ = a; alignmentSet_ = true; return *this; }
  int DisplayWidth() const;
  TField& SetDisplayWidth(int w) { displayWidth_ = w; return *this; }

  GetTextHandler OnGetText;
  SetTextHandler OnSetText;
  FieldEvent OnChange;  // after a value was written

  // --- value of the current record ---
  Variant AsVariant() const;
  void SetAsVariant(const Variant& value);
  std::string AsString() const;  // "" for null; numbers "1234,5"; dates "dd/mm/yyyy"
  void SetAsString(const std::string& value);
  double AsFloat() const;  // 0 for null
  void SetAsFloat(double value);
  int AsInteger() const;  // 0 for null
  void SetAsInteger(int value);
  DateTime AsDateTime() const;  // day 0 for null
  void SetAsDateTime(DateTime value);
  bool AsBoolean() const;  // false for null
  void SetAsBoolean(bool value);
  bool IsNull() const { return AsVariant().isNull(); }
  void Clear() { SetAsVariant(Variant()); }

  // Text shown in a grid: OnGetText when assigned, else DisplayFormat.
  std::string DisplayText() const;
  // Text being edited: OnGetText when assigned, else EditFormat (or DisplayFormat).
  std::string Text() const;
  // Typed text: OnSetText when assigned, else parsed for the field's type
  // (comma decimals, dd/mm/yyyy); empty text clears a number or a date.
  void SetText(const std::string& text);

 private:
  friend class TClientDataSet;
  std::string FormattedText(bool displayText) const;

  TClientDataSet* dataSet_;
  int index_ = -1;
  std::string name_;
  FieldType type_;
  int size_;
  std::string label_;
  bool visible_ = true;
  bool readOnly_ = false;
  std::string displayFormat_, editFormat_, editMask_;
  TAlignment alignment_ = taLeftJustify;
  bool alignmentSet_ = false;
  int displayWidth_ = 0;
};
