#include "ui/db_text.h"

TDBText::TDBText() : link_([this](TDataLink::Notice, TField*) { Refresh(); }) {}

void TDBText::SetDataField(std::string name) {
  data_field_ = std::move(name);
  Refresh();
}

TField* TDBText::Field() const {
  TClientDataSet* data = link_.DataSet();
  return data && !data_field_.empty() ? data->FindField(data_field_) : nullptr;
}

void TDBText::SetAlignment(TAlignment a) {
  if (a == alignment_) return;
  alignment_ = a;
  Changed(TProperty::Alignment);
}

void TDBText::Refresh() {
  TClientDataSet* data = link_.DataSet();
  TField* field = Field();
  bool has_row = link_.Active() && data && !data->IsEmpty();
  SetCaption(has_row && field ? field->DisplayText() : "");
}
