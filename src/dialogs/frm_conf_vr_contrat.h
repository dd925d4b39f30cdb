#pragma once
// TfrmConfVrContrat (unit Cli_DXR10903): "Confirmar Valor Contratante". The
// parties of a total rescission with their values above, the current party's
// payment form and installments below. In the rescission step negotiated
// values may change; in the consolidation step each party's payment form is
// chosen. Every confirmation is stored on the application server through
// the main screen's connection, with its branch and budget.

#include <string>

#include "data/client_dataset.h"
#include "data/data_source.h"
#include "lib/frm_padrao_simples.h"
#include "ui/check_controls.h"
#include "ui/containers.h"
#include "ui/db_grid.h"
#include "ui/edit.h"
#include "ui/spin_edit.h"
#include "ui/static_controls.h"

class TfrmDistrato;

class TfrmConfVrContrat : public TfrmPadraoSimples {
 public:
  explicit TfrmConfVrContrat(TfrmDistrato& owner);

  TfrmDistrato& frmDistrato;  // the main screen: branch, budget and connection

  TDBGrid& dbgContratantes;
  TPanel& panLegenda;
  TPanel& shpSemPercentual;
  TLabel& lblSemPercentual;
  TPanel& shpRenegociacao;
  TLabel& lblRenegociacao;
  TGroupBox& grbFormaPgto;
  TPanel& panFormaPgto;
  TRadioButton& rbtSemFormaPgto;
  TRadioButton& rbtFixo;
  TSpinEdit& speDiaFixo;
  TLabel& lblCom;
  TSpinEdit& speParcela;
  TLabel& Label5;
  TLabel& Label4;
  TCheckBox& chbProxMes;
  TRadioButton& rbtFormaPgto;
  TGroupBox& grbParcAuto;
  TLabel& lblQtParc;
  TEdit& edtQtParc;
  TLabel& lblPrazo;
  TEdit& edtPrazo;
  TButtonFlat& sbtParcAuto;
  TDBGrid& dbgFormaPgto;

  TClientDataSet& cdsVrContratantes;
  TClientDataSet& cdsFormaPgto;
  TClientDataSet& cdsAuxFormaPgto;
  TDataSource& dtsFormaPgto;

  // --- lifecycle ---
  void FormCreate(TComponent* sender) override;
  void FormActivate(TComponent* sender);
  void FormClose(TComponent* sender, TCloseAction& action) override;

  // --- parties and their payment form ---
  void cdsVrContratantesAfterScroll(TClientDataSet& dataSet);
  void cdsVrContratantesBeforePost(TClientDataSet& dataSet);
  void rbtSemFormaPgtoClick(TComponent* sender);
  void rbtFixoClick(TComponent* sender);
  void rbtFormaPgtoClick(TComponent* sender);
  void speDiaFixoChange(TComponent* sender);
  void chbProxMesClick(TComponent* sender);
  void dtsFormaPgtoStateChange(TDataSource& sender);
  void cdsFormaPgtoNewRecord(TClientDataSet& dataSet);
  void HabilitaBotoes();

  // --- keys, display, drawing ---
  void dbgContratantesKeyPress(TComponent* sender, char32_t& key);
  void dbgContratantesKeyDown(TComponent* sender, int& key, TShiftState shift);
  void dbgContratantesTitleClick(TColumn& column);
  void dbgFormaPgtoKeyPress(TComponent* sender, char32_t& key);
  void dbgContratantesDrawColumnCell(TColumn& column, TGridDrawState state, TCellStyle& style);

  // --- installments ---
  void InsereParcelas();
  void Vd_Data();
  void Vd_Valor();

  // --- commands ---
  void sbtConfirmarClick(TComponent* sender) override;
  void sbtVerificarClick(TComponent* sender) override;
  void sbtExcluirClick(TComponent* sender) override;
  void sbtCancelarClick(TComponent* sender) override;
  void mnuSairClick(TComponent* sender) override;

 private:
  void BuildParties();
  void BuildPayment();
  void BuildPlan();
  void Wire();
  std::string Branch() const;
  std::string Budget() const;
  // The answer is the dataset's to take: it is not kept.
  void LoadParties(Variant packet);
  void LoadPlan(Variant packet);
  static void StartEditing(TClientDataSet& data);
  void EnableFixedDay(bool enabled);
  [[noreturn]] void Refuse(const std::string& key);

  bool suspended_ = false;    // a party is being shown: radio and spin handlers do nothing
};
