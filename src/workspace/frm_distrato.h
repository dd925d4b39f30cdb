#pragma once
// TfrmDistrato (unit Cli_DXR10900): the main screen "Distrato Comercial".
// The filter panel picks a branch and a budget; leaving it loads the list of
// contracting parties, and every move in the list loads the party's
// receivables and payables and recomputes which commands are available.
// The decisions (checks, command table, texts, colours) are plain functions
// of dx_workspace_logic; this class reads its controls and datasets into
// them and writes their answers back.

#include <functional>
#include <set>
#include <string>

#include "data/client_dataset.h"
#include "data/data_source.h"
#include "hostdb/adoib_query.h"
#include "lib/btn_pesquisa.h"
#include "lib/button_flat.h"
#include "lib/frm_padrao_grid.h"
#include "lib/number_edit.h"
#include "net/net_connection.h"
#include "ui/check_controls.h"
#include "ui/containers.h"
#include "ui/edit.h"
#include "ui/mask_edit.h"
#include "ui/splitter.h"
#include "ui/static_controls.h"
#include "workspace/command_availability.h"
#include "workspace/filter_validation.h"

class TfrmDistrato;

// Where the rescission operations attach to the screen. Until an operation
// is attached its command does nothing at all: no message, no change.
struct DistratoOperations {
  std::function<void(TfrmDistrato&)> Distrato;           // sbtDistrato / mnuDistrato
  std::function<void(TfrmDistrato&)> CancContrat;        // sbtCancContrat / mnuCancContrat
  std::function<void(TfrmDistrato&)> ConsolidaDistrato;  // sbtConsolidaDistrato / mnuConsolidaDistrato
  std::function<void(TfrmDistrato&)> CancelaDistrato;    // sbtCancelaDistrato / mnuCancelaDistrato
  std::function<void(TfrmDistrato&)> TermoDistrato;      // mnuTermoDistrato
  // Checks the substitute typed in the list (report-empty flag).
  std::function<void(TfrmDistrato&, bool)> Vd_NrInscricao;
  // Runs once on every new screen, after it is built, so the operations can
  // hook the screen's dialogs and datasets.
  std::function<void(TfrmDistrato&)> Attach;
};
DistratoOperations& DistratoOperationHooks();

class TfrmDistrato : public TfrmPadraoGrid {
 public:
  TfrmDistrato();
  ~TfrmDistrato() override;

  // --- filter panel ---
  TPanel& panFiltro;
  TLabel& Label1;
  TMaskEdit& medCdFilial;
  TBtnPesquisa& btnPesquisa;
  TEdit& edtNmFilial;
  TLabel& Label2;
  TEdit& edtOrcamento;
  TBtnPesquisa& btnOrcamento;
  TLabel& Label3;
  TLabel& lblNmCliente;
  TLabel& Label4;
  TNumberEdit& nedVrTotalOrca;

  // --- command panel ---
  TPanel& panCancelarContrat;
  TGroupBox& grbTipoDistrato;
  TRadioButton& rbtParcial;
  TRadioButton& rbtTotal;
  TButtonFlat& sbtCancContrat;
  TButtonFlat& sbtDistrato;
  TGroupBox& grbBaixa;
  TLabel& lblCCorr;
  TMaskEdit& medCdReduCont;
  TBtnPesquisa& btpCCorr;
  TEdit& edtCdBanco;
  TEdit& edtAgencia;
  TEdit& edtContCorr;
  TPanel& Panel8;
  TLabel& Label12;
  TLabel& lblProcesso;
  TPanel& Panel7;
  TLabel& Label5;
  TGroupBox& GroupBox1;

  // --- list and account views ---
  TSplitter& Splitter1;
  TPanel& Panel5;
  TPanel& Panel6;
  TLabel& lblContasReceber;
  TLabel& lblContasPagar;
  TDBGrid& dbgContasGeradas;
  TSplitter& Splitter2;
  TDBGrid& dbgContaPagar;

  // --- tool bar and menu ---
  TButtonFlat& sbtConsolidaDistrato;
  TButtonFlat& sbtCancelaDistrato;
  TMenuItem& mnuLinha4;
  TMenuItem& mnuCancContrat;
  TMenuItem& mnuDistrato;
  TMenuItem& mnuConsolidaDistrato;
  TMenuItem& mnuCancelaDistrato;
  TMenuItem& mnuTermoDistrato;

  // --- data ---
  TNetConnection& netDistrato;
  TADOIBQuery& qryFilial;
  TADOIBQuery& qryPesqFilial;
  TClientDataSet& cdsFilial;  // qryFilial's rows, as the branch search lists them
  TClientDataSet& cdsPesqOrca;
  TClientDataSet& cdsVdOrca;
  TClientDataSet& cdsDadosComp;
  TClientDataSet& cdsEmpresaRelac;
  TClientDataSet& cdsContCorr;
  TClientDataSet& cdsVdContCorr;
  TClientDataSet& cdsContratante;
  TClientDataSet& cdsContas;
  TClientDataSet& cdsContasPagar;
  TClientDataSet& cdsContSub;
  TClientDataSet& cdsVdContratante;
  TClientDataSet& cdsValores;
  TClientDataSet& cdsNewContrRepete;
  TClientDataSet& cdsErroProd;
  TDataSource& dtsPesqFilial;
  TDataSource& dtsPesqOrca;
  TDataSource& dtsVdOrca;
  TDataSource& dtsDadosComp;
  TDataSource& dtsContCorr;
  TDataSource& dtsContratante;
  TDataSource& dtsContas;
  TDataSource& dtsContasPagar;
  TDataSource& dtsContSub;
  TDataSource& dtsVdContratante;
  TDataSource& dtsValores;

  // --- lifecycle and connection ---
  void FormCreate(TComponent* sender) override;
  void FormActivate(TComponent* sender);
  void FormClose(TComponent* sender, TCloseAction& action) override;
  void netDistratoBeforeConnect(TNetConnection& sender);
  void ModoFilial();
  void panFiltroEnter(TComponent* sender);
  void panFiltroExit(TComponent* sender);
  void sbtProcurarClick(TComponent* sender) override;
  void sbtCancelarClick(TComponent* sender) override;
  void dtsPadraoStateChange(TComponent* sender) override;
  // The screen is on view: from now on connection failures are reported
  // again (see FormCreate).
  void EndOpening() { quietNetErrors_ = false; }

  // --- filter and look-ups ---
  void Vd_Filial(bool reportEmpty);
  void Vd_Orcamento(bool reportEmpty);
  void EmpresaRelacionada();
  void DadosComplementares();
  void Vd_ContaCorrente(bool reportEmpty);
  void medCdFilialChange(TComponent* sender);
  void medCdFilialExit(TComponent* sender);
  void btnPesquisaAfterPesq(TComponent* sender);
  void btnOrcamentoBeforePesq(TComponent* sender, bool& proceed);
  void btnOrcamentoAfterPesq(TComponent* sender);
  void edtOrcamentoChange(TComponent* sender);
  void edtOrcamentoExit(TComponent* sender);
  void medCdReduContChange(TComponent* sender);
  void medCdReduContExit(TComponent* sender);
  void btpCCorrBeforePesq(TComponent* sender, bool& proceed);
  void btpCCorrAfterPesq(TComponent* sender);

  // --- list and account views ---
  void sbtVerificarClick(TComponent* sender) override;
  void cdsContratanteAfterScroll(TClientDataSet& dataSet);
  void dbgPadraoColEnter(TComponent* sender);
  void dbgPadraoColExit(TComponent* sender);
  void rbtParcialClick(TComponent* sender);
  void rbtTotalClick(TComponent* sender);
  // The substitute typed in the list; the substitution supplies the check.
  void Vd_NrInscricao(bool reportEmpty);

  // --- commands ---
  void HabilitaBotoes();
  void sbtDistratoClick(TComponent* sender);
  void sbtCancContratClick(TComponent* sender);
  void sbtConsolidaDistratoClick(TComponent* sender);
  void sbtCancelaDistratoClick(TComponent* sender);
  void mnuTermoDistratoClick(TComponent* sender);
  // Whether the current party's rescission was undone (the list's load asked the server).
  bool PartyUndone() const;

  workspace::RescissionType TipoDistrato() const;

 private:
  void BuildFilterPanel();
  void BuildCommandPanel();
  void BuildLegends();
  void BuildAccountViews();
  void BuildToolBarAndMenu();
  void DeclareDatasets();
  void BindGrids();
  void WireFilterHandlers();
  void WireListHandlers();
  void WireDisplayTexts();
  void WireDrawing();

  void Refuse(const workspace::FilterCheck& check);
  TWinControl& FilterControl(workspace::FilterControl which);
  void LoadBranchList();
  void ClearBankAccount();
  workspace::CommandInputs ReadCommandInputs() const;
  workspace::CommandState ReadCommandState() const;
  void ApplyCommandState(const workspace::CommandState& state);
  void CheckTotalQuietly();
  void EnableTermoDistrato();

  bool primeiraAtivacao_ = false;  // boPrimeiraAtivacao
  bool creating_ = true;
  // Set when the connection failed while the screen was being built and
  // its message was shown: the same failure is not reported again until
  // the screen is on view.
  bool quietNetErrors_ = false;
  // The parties of the budget whose rescission was undone (StatementKey).
  std::set<std::string> undoneParties_;
};
