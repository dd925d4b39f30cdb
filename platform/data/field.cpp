#include "field.h"

#include <cmath>

#include "data/client_dataset.h"
#include "data/field_value.h"
#include "data/formats.h"

TField::TField(TClientDataSet* dataSet, std::string name, FieldType type, int size)
    : dataSet_(dataSet), name_(std::move(name)), type_(type), size_(size) {}

TAlignment TField::Alignment() const {
  if (alignmentSet_) return alignment_;
  return IsNumeric() ? taRightJustify : taLeftJustify;
}

int TField::DisplayWidth() const {
  if (displayWidth_ > 0) return displayWidth_;
  switch (type_) {
    case FieldType::String:
    case FieldType::FixedString: return size_ > 0 ? size_ : 20;
    case FieldType::DateTime: return 10;
    default: return 10;
  }
}

Variant TField::AsVariant() const { return dataSet_ ? dataSet_->CurrentValue(index_) : Variant(); }

void TField::SetAsVariant(const Variant& value) {
  if (!dataSet_) {
    // A placeholder field of a closed dataset: writing fails like on any closed dataset.
    throw Exception("Campo " + name_ + ": o conjunto de dados está fechado");
  }
  dataSet_->WriteField(*this, ToFieldValue(value, type_, size_, name_));
}

std::string TField::AsString() const { return StoredText(AsVariant()); }

void TField::SetAsString(const std::string& value) {
  if (type_ == FieldType::String || type_ == FieldType::FixedString) {
    SetAsVariant(Variant(value));
  } else if (type_ == FieldType::Float) {
    SetAsVariant(value.empty() ? Variant() : Variant(StrToFloat(value)));
  } else if (type_ == FieldType::DateTime) {
    SetAsVariant(value.empty() ? Variant() : Variant(StrToDate(value)));
  } else {
    SetAsVariant(Variant(value));
  }
}

double TField::AsFloat() const {
  const Variant& v = AsVariant();
  if (v.isNull()) return 0.0;
  if (v.isText()) return StrToFloat(v.asText());
  return v.asDouble();
}

void TField::SetAsFloat(double value) { SetAsVariant(Variant(value)); }

int TField::AsInteger() const {
  const Variant& v = AsVariant();
  if (v.isNull()) return 0;
  if (v.kind() == Variant::Kind::Double) return static_cast<int>(std::lround(v.asDouble()));
  if (v.isText()) return static_cast<int>(std::lround(StrToFloat(v.asText())));
  return static_cast<int>(v.asInt());
}

void TField::SetAsInteger(int value) { SetAsVariant(Variant(value)); }

DateTime TField::AsDateTime() const {
  const Variant& v = AsVariant();
  if (v.isNull()) return DateTime{};
  if (v.isText()) return StrToDate(v.asText());
  return v.asDate();
}

void TField::SetAsDateTime(DateTime value) { SetAsVariant(Variant(value)); }

bool TField::AsBoolean() const {
  const Variant& v = AsVariant();
  return v.isNull() ? false : v.asBool();
}

void TField::SetAsBoolean(bool value) { SetAsVariant(Variant(value)); }

std::string TField::FormattedText(bool displayText) const {
  const Variant& v = AsVariant();
  if (v.isNull()) return "";
  const std::string& format = displayText || editFormat_.empty() ? displayFormat_ : editFormat_;
  switch (type_) {
    case FieldType::Float:
    case FieldType::Integer:
      return format.empty() ? StoredText(v) : FormatFloat(format, v.asDouble());
    case FieldType::DateTime:
      return format.empty() ? DateTimeToStr(v.asDate()) : FormatDateTime(format, v.asDate());
    default:
      return StoredText(v);
  }
}

std::string TField::DisplayText() const {
  std::string text;
  if (OnGetText) {
    OnGetText(const_cast<TField&>(*this), text, true);
    return text;
  }
  return FormattedText(true);
}

std::string TField::Text() const {
  std::string text;
  if (OnGetText) {
    OnGetText(const_cast<TField&>(*this), text, false);
    return text;
  }
  return FormattedText(false);
}

void TField::SetText(const std::string& text) {
  if (OnSetText) {
    OnSetText(*this, text);
    return;
  }
  SetAsString(text);
}
