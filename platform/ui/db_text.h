#pragma once
// A label showing one field of the current record; its Caption follows the
// record and is empty when the dataset is closed or empty.

#include <string>

#include "ui/control.h"
#include "ui/data_link.h"

class TDBText : public TControl {
 public:
  TDBText();

  TDataSource* DataSource() const { return link_.DataSource(); }
  void SetDataSource(TDataSource* source) { link_.SetDataSource(source); }
  const std::string& DataField() const { return data_field_; }
  void SetDataField(std::string name);
  TField* Field() const;
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);

  void Removing(TComponent& doomed) override { link_.Removing(doomed); }

 private:
  void Refresh();

  TDataLink link_;
  std::string data_field_;
  TAlignment alignment_ = taLeftJustify;
};
