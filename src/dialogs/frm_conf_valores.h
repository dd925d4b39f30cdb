#pragma once
// TfrmConfValores (unit Cli_DXR10901): "Confirmar Valores". Shows the main
// screen's values row of the party being rescinded; in the rescission step
// the negotiated value may be changed, in the consolidation step the payment
// form of the account is chosen: none, a fixed day of the month, or a list
// of installments. Messages come from the main screen's catalogue.

#include <string>

#include "data/client_dataset.h"
#include "data/data_source.h"
#include "lib/button_flat.h"
#include "lib/date_edit_plus.h"
#include "lib/number_edit.h"
#include "ui/check_controls.h"
#include "ui/containers.h"
#include "ui/db_grid.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/spin_edit.h"
#include "ui/static_controls.h"

class TfrmDistrato;

class TfrmConfValores : public TForm {
 public:
  explicit TfrmConfValores(TfrmDistrato& owner);

  TfrmDistrato& frmDistrato;  // the main screen that opened the dialog

  TDBGrid& dbgConfValores;
  TGroupBox& grbFormaPgto;
  TRadioButton& rbtSemForma;
  TRadioButton& rbtFixo;
  TRadioButton& rbtVariavel;
  TPanel& panPgtoFixo;
  TSpinEdit& speDiaFixo;
  TSpinEdit& speParcela;
  TLabel& lblParcelas;
  TLabel& lblAbre;
  TCheckBox& chbProxMes;
  TGroupBox& grbParcAuto;
  TLabel& lblValorPgto;
  TNumberEdit& nedValorPgto;
  TLabel& lblQtParcelas;
  TEdit& edtQtParcelas;
  TLabel& lblPrazoDias;
  TEdit& edtPrazoDias;
  TButtonFlat& sbtParcAutomatico;
  TDBGrid& dbgFormaPgto;
  TPanel& panBotoes;
  TButtonFlat& sbtOk;
  TButtonFlat& sbtCancelar;
  TDateEditPlus& depVdData;

  TClientDataSet& cdsFormaPgto;
  TClientDataSet& cdsAuxFormaPgto;
  TDataSource& dtsFormaPgto;

  // --- lifecycle ---
  void FormCreate(TComponent* sender);
  void FormShow(TComponent* sender);
  void FormActivate(TComponent* sender);
  void FormClose(TComponent* sender, TCloseAction& action);

  // --- payment mode ---
  void rbtSemFormaClick(TComponent* sender);
  void rbtFixoClick(TComponent* sender);
  void rbtVariavelClick(TComponent* sender);
  void grbFormaPgtoEnter(TComponent* sender);
  void dbgConfValoresExit(TComponent* sender);
  void dbgConfValoresKeyPress(TComponent* sender, char32_t& key);
  void dbgFormaPgtoKeyPress(TComponent* sender, char32_t& key);

  // --- installments ---
  void InsereParcelas();
  void sbtParcAutomaticoClick(TComponent* sender);
  void edtQtParcelasChange(TComponent* sender);
  void edtQtParcelasExit(TComponent* sender);
  void edtQtParcelasKeyPress(TComponent* sender, char32_t& key);
  void edtPrazoDiasKeyPress(TComponent* sender, char32_t& key);
  void cdsFormaPgtoBeforeEditOrInsert(TClientDataSet& dataSet);
  void cdsFormaPgtoBeforePost(TClientDataSet& dataSet);
  void cdsFormaPgtoDTVENCPARCELASetText(TField& sender, const std::string& text);
  void dbgFormaPgtoColExit(TComponent* sender);
  void Vd_ExistVenc(const std::string& text);
  void Vd_FormaPgto();
  void Vd_Valor();

  // --- commands ---
  void sbtOkClick(TComponent* sender);
  void sbtCancelarClick(TComponent* sender);

 private:
  void BuildValuesGrid();
  void BuildPaymentSection();
  void BuildPlan();
  void Wire();
  // The payment controls that follow whether there is a value to pay.
  void EnablePaymentChoices(bool enabled, bool withAutomatic);
  void ApplyValueRule();
  // Reduces a non-empty plan to one row describing the mode.
  void PlanOfMode(const char* mode);
  // Refuses with the main screen's text for `key` (the step ends there).
  [[noreturn]] void Refuse(const std::string& key);
  double NegotiatedTotal() const;
};
