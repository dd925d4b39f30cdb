// TfrmConfValores: lifecycle, payment mode, installments and the commands.

#include <algorithm>

#include "data/exceptions.h"
#include "data/formats.h"
#include "dialogs/cli_dxr10901.h"
#include "lib/corvane.h"
#include "dialogs/frm_conf_valores.h"
#include "dialogs/installment_rules.h"
#include "dialogs/plan_dataset.h"
#include "lib/consiste.h"
#include "lib/grid_text.h"
#include "lib/mens_erro.h"
#include "workspace/frm_distrato.h"

using namespace Cli_DXR10901;

namespace {
constexpr const char* kDue = "DTVENCPARCELA";
constexpr const char* kValue = "VRPARCELA";

std::string WithoutDots(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '.'), text.end());
  return text;
}
}  // namespace

void TfrmConfValores::Refuse(const std::string& key) {
  MensErro(frmDistrato.msgPadrao.Msg(key), true);
  throw EAbort();  // MensErro with true never returns; this keeps the promise visible
}

double TfrmConfValores::NegotiatedTotal() const { return frmDistrato.cdsValores.FieldByName("VRORIGREC").AsFloat(); }

// --- lifecycle --------------------------------------------------------------

void TfrmConfValores::FormCreate(TComponent* /*sender*/) {
  cdsFormaPgto.FieldByName(kDue).SetEditMask(DateMask());
  rbtSemForma.SetChecked(true);
  speDiaFixo.SetValue(1);
  speParcela.SetValue(1);
  chbProxMes.SetChecked(false);
  dialogs::EnsureOpen(cdsAuxFormaPgto);
}

void TfrmConfValores::FormShow(TComponent* /*sender*/) { rbtSemForma.SetChecked(true); }

void TfrmConfValores::FormActivate(TComponent* /*sender*/) {
  nedValorPgto.SetNumber(doVrNeg);
  boConfirma = false;
  rbtSemForma.SetChecked(true);
  if (nedValorPgto.GetNumber() == 0) EnablePaymentChoices(false, true);
  else EnablePaymentChoices(true, false);
  grbFormaPgto.SetEnabled(!boEditaTela);
  dbgFormaPgto.SetEnabled(!boEditaTela);
  // Only the negotiated value may change, and only in the rescission step;
  // the key filter keeps typing out, this keeps pasting out too.
  for (int i = 0; i < dbgConfValores.ColumnCount(); ++i) {
    TColumn& column = dbgConfValores.Columns(i);
    column.SetReadOnly(!(boEditaTela && column.FieldName() == "VRORIGREC"));
  }
}

void TfrmConfValores::FormClose(TComponent* /*sender*/, TCloseAction& /*action*/) {
  if (!boOk) {
    boConfirma = false;
    oleFormaPgto = Variant();
    doVrNeg = 0;
    doVrMulta = 0;
  }
}

// --- payment mode -----------------------------------------------------------

void TfrmConfValores::EnablePaymentChoices(bool enabled, bool withAutomatic) {
  for (TControl* c : std::initializer_list<TControl*>{&rbtFixo, &speDiaFixo, &speParcela, &chbProxMes, &rbtVariavel})
    c->SetEnabled(enabled);
  if (withAutomatic) grbParcAuto.SetEnabled(enabled);
}

void TfrmConfValores::ApplyValueRule() { EnablePaymentChoices(nedValorPgto.GetNumber() != 0, true); }

void TfrmConfValores::PlanOfMode(const char* mode) {
  if (cdsFormaPgto.IsEmpty()) return;
  cdsFormaPgto.EmptyDataSet();
  cdsFormaPgto.Insert();
  cdsFormaPgto.FieldByName("IDTPFORMAPGTO").SetAsString(mode);
  cdsFormaPgto.Post();
}

void TfrmConfValores::rbtSemFormaClick(TComponent* /*sender*/) {
  for (TControl* c : std::initializer_list<TControl*>{&panPgtoFixo, &dbgFormaPgto, &grbParcAuto, &sbtParcAutomatico})
    c->SetEnabled(false);
  PlanOfMode("E");
}

void TfrmConfValores::rbtFixoClick(TComponent* /*sender*/) {
  panPgtoFixo.SetEnabled(true);
  for (TControl* c : std::initializer_list<TControl*>{&dbgFormaPgto, &grbParcAuto, &sbtParcAutomatico})
    c->SetEnabled(false);
  PlanOfMode("F");
}

void TfrmConfValores::rbtVariavelClick(TComponent* /*sender*/) {
  panPgtoFixo.SetEnabled(false);
  dbgFormaPgto.SetEnabled(true);
  grbParcAuto.SetEnabled(true);
  dialogs::EnsureOpen(cdsFormaPgto);
  if (dialogs::Editing(cdsFormaPgto)) cdsFormaPgto.Cancel();
  cdsFormaPgto.EmptyDataSet();
}

void TfrmConfValores::grbFormaPgtoEnter(TComponent* /*sender*/) { ApplyValueRule(); }

void TfrmConfValores::dbgConfValoresExit(TComponent* /*sender*/) {
  nedValorPgto.SetNumber(NegotiatedTotal());
  ApplyValueRule();
}

void TfrmConfValores::dbgConfValoresKeyPress(TComponent* /*sender*/, char32_t& key) {
  const TColumn* column = dbgConfValores.SelectedColumn();
  if (!column || column->FieldName() != "VRORIGREC" || !boEditaTela) {
    key = 0;
    return;
  }
  key = dialogs::NumericKey(dialogs::DropSignsAndExponent(key));
  if (key) key = dialogs::Vd_Virgula(dbgConfValores, "VRORIGREC", key);
}

void TfrmConfValores::dbgFormaPgtoKeyPress(TComponent* /*sender*/, char32_t& key) {
  // The value column takes a number; the due-date column has its mask.
  const TColumn* column = dbgFormaPgto.SelectedColumn();
  if (!column || column->FieldName() != kValue) return;
  key = dialogs::NumericKey(dialogs::DropSignsAndExponent(key));
  if (key) key = dialogs::Vd_Virgula(dbgFormaPgto, kValue, key);
}

// --- installments -----------------------------------------------------------

void TfrmConfValores::InsereParcelas() {
  // A count the total cannot be split into is refused before the plan is
  // touched.
  if (auto key = dialogs::CheckInstallmentCount(NegotiatedTotal(), dialogs::StrToInt(edtQtParcelas.Text()))) {
    edtQtParcelas.SetFocus();
    Refuse(*key);
  }
  if (!cdsFormaPgto.IsEmpty()) {
    if (dialogs::Editing(cdsFormaPgto)) cdsFormaPgto.Cancel();
    cdsFormaPgto.EmptyDataSet();
  }
  int count = dialogs::StrToInt(edtQtParcelas.Text());
  dialogs::EnsureOpen(cdsFormaPgto);
  cdsFormaPgto.EmptyDataSet();
  const double total = NegotiatedTotal();
  const auto plan = dialogs::PlanInstallments(total, count, dialogs::TermDays(edtPrazoDias.Text()),
                                              DateOf(DataProc(FiliProc())));
  int seq = 0;
  for (const dialogs::Installment& row : plan) {
    cdsFormaPgto.Append();
    if (row.due) {
      ++seq;
      if (seq == 1) cdsFormaPgto.FieldByName("IDTPFORMAPGTO").SetAsString("V");
      cdsFormaPgto.FieldByName(kDue).SetAsDateTime(*row.due);
      cdsFormaPgto.FieldByName("NRSEQPARC").SetAsInteger(seq);
    }
    cdsFormaPgto.FieldByName(kValue).SetAsFloat(row.value);
    cdsFormaPgto.Post();
  }
  edtQtParcelas.Clear();
  edtPrazoDias.Clear();
}

void TfrmConfValores::sbtParcAutomaticoClick(TComponent* /*sender*/) { InsereParcelas(); }

void TfrmConfValores::edtQtParcelasChange(TComponent* /*sender*/) {
  sbtParcAutomatico.SetEnabled(dialogs::CanGenerate(edtQtParcelas.Text(), edtPrazoDias.Text()));
}

void TfrmConfValores::edtQtParcelasExit(TComponent* /*sender*/) {
  if (auto key = dialogs::CheckQuantity(edtQtParcelas.Text())) Refuse(*key);
}

void TfrmConfValores::edtQtParcelasKeyPress(TComponent* /*sender*/, char32_t& key) { key = dialogs::DigitsOnly(key); }
void TfrmConfValores::edtPrazoDiasKeyPress(TComponent* /*sender*/, char32_t& key) { key = dialogs::DigitsOnly(key); }

void TfrmConfValores::cdsFormaPgtoBeforeEditOrInsert(TClientDataSet& /*dataSet*/) {
  dialogs::TakeSnapshot(cdsFormaPgto, cdsAuxFormaPgto);
}

void TfrmConfValores::cdsFormaPgtoBeforePost(TClientDataSet& /*dataSet*/) {
  if (!rbtVariavel.Checked()) return;
  std::string text = GridText(dbgFormaPgto, kDue, false);
  std::optional<std::string> refusal;
  try {
    refusal = dialogs::CheckDueDate(text, DateOf(DataProc(FiliProc())), "DT_VENC_MAIOR");
  } catch (const Exception&) {
    dialogs::FocusField(dbgFormaPgto, kDue);
    throw;
  }
  if (refusal) {
    dialogs::FocusField(dbgFormaPgto, kDue);
    Refuse(*refusal);
  }
}

void TfrmConfValores::cdsFormaPgtoDTVENCPARCELASetText(TField& sender, const std::string& text) {
  dialogs::SetDueDateText(sender, text);
}

void TfrmConfValores::dbgFormaPgtoColExit(TComponent* /*sender*/) {
  const TColumn* column = dbgFormaPgto.SelectedColumn();
  if (!dialogs::Editing(cdsFormaPgto) || !column || column->FieldName() != kDue) return;
  std::string text = GridText(dbgFormaPgto, kDue, false);
  if (EmptyString(text)) return;
  depVdData.SetDate(StrToDate(text));
  depVdData.CheckValidDate();
  Vd_ExistVenc(text);
}

void TfrmConfValores::Vd_ExistVenc(const std::string& text) {
  // The snapshot holds the plan as it was before this edit began; a date is
  // compared as a date, so no typed text ever reaches an expression.
  DateTime due = DateOf(StrToDate(text));
  for (DateTime taken : dialogs::FieldDates(cdsAuxFormaPgto, kDue))
    if (taken == due) Refuse("VENC_J_INF");
}

void TfrmConfValores::Vd_FormaPgto() {
  if (cdsFormaPgto.IsEmpty()) {
    dialogs::FocusField(dbgFormaPgto, kDue);
    Refuse("PRAZO_N_INF");
  }
}

void TfrmConfValores::Vd_Valor() {
  std::vector<double> values = dialogs::FieldValues(cdsFormaPgto, kValue, false);
  if (auto key = dialogs::CheckPlanTotal(values, NegotiatedTotal())) {
    dialogs::FocusField(dbgFormaPgto, kValue);
    Refuse(*key);
  }
}

// --- commands ---------------------------------------------------------------

void TfrmConfValores::sbtOkClick(TComponent* /*sender*/) {
  if (rbtVariavel.Checked()) {
    Vd_FormaPgto();
    Vd_Valor();
  }
  double negotiated = StrToFloat(WithoutDots(GridText(dbgConfValores, "VRORIGREC", true)));
  double fine = StrToFloat(WithoutDots(GridText(dbgConfValores, "VRMULTA", true)));
  if (negotiated > 0) {
    if (cdsFormaPgto.IsEmpty()) {
      dialogs::EnsureOpen(cdsFormaPgto);
      if (dialogs::Editing(cdsFormaPgto)) cdsFormaPgto.Cancel();
      cdsFormaPgto.EmptyDataSet();
      cdsFormaPgto.Append();
    } else if (!dialogs::Editing(cdsFormaPgto)) {
      cdsFormaPgto.Edit();
    }
    if (rbtFixo.Checked()) {
      cdsFormaPgto.FieldByName("IDTPFORMAPGTO").SetAsString("F");
      cdsFormaPgto.FieldByName("NRDIAPGTOFIXO").SetAsInteger(speDiaFixo.Value());
      cdsFormaPgto.FieldByName("NRPARCELAS").SetAsInteger(speParcela.Value());
      cdsFormaPgto.FieldByName("IDMESINIPGTO").SetAsString(chbProxMes.Checked() ? "P" : "A");
    } else {
      cdsFormaPgto.FieldByName("IDTPFORMAPGTO").SetAsString(rbtVariavel.Checked() ? "V" : "E");
    }
    cdsFormaPgto.Post();
    boConfirma = true;
    oleFormaPgto = cdsFormaPgto.Data();
    doVrNeg = negotiated;
    doVrMulta = fine;
    boOk = true;
  } else {
    boConfirma = true;
    oleFormaPgto = Variant();
    doVrNeg = 0;
    doVrMulta = 0;
    boOk = true;
  }
  Close();
}

void TfrmConfValores::sbtCancelarClick(TComponent* /*sender*/) {
  boConfirma = false;
  oleFormaPgto = Variant();
  doVrNeg = 0;
  doVrMulta = 0;
  if (!cdsFormaPgto.IsEmpty()) {
    if (dialogs::Editing(cdsFormaPgto)) cdsFormaPgto.Cancel();
    cdsFormaPgto.EmptyDataSet();
  }
  Close();
}
