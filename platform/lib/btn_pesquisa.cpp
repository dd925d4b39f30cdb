#include "lib/btn_pesquisa.h"

#include "data/data_source.h"
#include "lib/pesquisa.h"
#include "ui/edit.h"

TBtnPesquisa::TBtnPesquisa() {
  SetFlat(true);
  SetHint("Pesquisar");
  SetShowHint(true);
}

void TBtnPesquisa::Click() {
  Pesquisa();
  TSpeedButton::Click();
}

bool TBtnPesquisa::Pesquisa() {
  bool proceed = true;
  if (OnBeforePesq) OnBeforePesq(this, proceed);
  if (!proceed) return false;
  if (!data_source_ || !data_source_->DataSet())
    throw Exception("O botão de pesquisa " + Name() + " não tem dados para pesquisar.");
  TClientDataSet& data = *data_source_->DataSet();
  if (!data.Active()) data.Open();
  if (!Pesquisar(*data_source_, title_ + "|" + empty_error_, false, true)) return false;
  if (OnAfterPesq) OnAfterPesq(this);
  return true;
}

void TBtnPesquisa::Removing(TComponent& doomed) {
  if (&doomed == associate_) associate_ = nullptr;
  if (doomed.HeldObject() == data_source_) data_source_ = nullptr;
}
