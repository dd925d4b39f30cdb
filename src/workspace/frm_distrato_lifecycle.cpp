// Creating, activating and closing the screen, its connection, and the
// filter panel's enter and exit, which close and load the workspace.

#include "lib/child_enabled.h"
#include "lib/consiste.h"
#include "lib/corvane.h"
#include "lib/grid_text.h"
#include "lib/procurar.h"
#include "ui/run_handler.h"
#include "workspace/cli_dxr10900.h"
#include "workspace/frm_distrato.h"

DistratoOperations& DistratoOperationHooks() {
  static DistratoOperations hooks;
  return hooks;
}

TfrmDistrato::~TfrmDistrato() {
  // The screen is going away: the next IniProc builds a new one.
  if (frmDistrato == this) {
    frmDistrato = nullptr;
    boIdCriado = false;
  }
}

void TfrmDistrato::FormCreate(TComponent* sender) {
  TfrmPadraoGrid::FormCreate(sender);
  OnDestroy = [this](TComponent*) {
    if (frmDistrato == this) {
      frmDistrato = nullptr;
      boIdCriado = false;
    }
  };
  // A server that is down does not keep the screen from opening: the user
  // is told why, and every later call connects again on demand.
  try {
    netDistrato.SetConnected(true);
  } catch (const ENetError&) {
    ShowHandlerException(std::current_exception());
    quietNetErrors_ = true;
  }
  primeiraAtivacao_ = true;
  cdsErroProd.FieldByName("CDARVPROD").SetEditMask(DBPict(0));
  ModoFilial();
  creating_ = false;
}

void TfrmDistrato::netDistratoBeforeConnect(TNetConnection& sender) {
  sender.SetHost(WebURL());
  sender.SetPort(WebPort());
  // The connection logs in as the host's operator on every connect.
  const LoginEnvironment& login = CurrentLoginEnvironment();
  sender.SetServers(login.servers);
  sender.SetLogin(Operador(), SenhaOperador());
  sender.SetTls(login.serverTls);
  sender.SetCaFile(login.serverCaFile);
}

void TfrmDistrato::FormActivate(TComponent* /*sender*/) {
  for (const char* date : {"DTATUAVENREC", "DTORIGVENREC"}) cdsContas.FieldByName(date).SetEditMask(DateMask());
  if (primeiraAtivacao_) {
    medCdFilial.SetText(FiliProc());
    edtNmFilial.SetText(NomeFiliProc());
    primeiraAtivacao_ = false;
    ModoFilial();
  }
  ModoFilial();
  HabilitaBotoes();
}

void TfrmDistrato::ModoFilial() {
  if (!ModuFili()) return;
  medCdFilial.SetEnabled(false);
  btnPesquisa.SetEnabled(false);
}

void TfrmDistrato::FormClose(TComponent* sender, TCloseAction& action) {
  TfrmPadraoGrid::FormClose(sender, action);
  netDistrato.SetConnected(false);
}

void TfrmDistrato::panFiltroEnter(TComponent* /*sender*/) {
  for (TClientDataSet* data : {&cdsContratante, &cdsContas, &cdsPesqOrca, &cdsContasPagar}) data->Close();
  ModoFilial();
  HabilitaBotoes();
  nedVrTotalOrca.Clear();
  ClearBankAccount();
  grbBaixa.SetEnabled(false);
}

void TfrmDistrato::panFiltroExit(TComponent* /*sender*/) {
  EmpresaRelacionada();
  Vd_Filial(true);
  Vd_Orcamento(true);
  DadosComplementares();
  sbtVerificar.Click();
  HabilitaBotoes();
  grbBaixa.SetEnabled(true);
}

void TfrmDistrato::sbtProcurarClick(TComponent* sender) {
  if (dbgPadrao.Focused()) {
    TfrmPadraoGrid::sbtProcurarClick(sender);
  } else if (dbgContasGeradas.Focused()) {
    Procura(*dtsContas.DataSet());
  } else if (dbgContaPagar.Focused()) {
    Procura(cdsContasPagar);
  }
}

void TfrmDistrato::sbtCancelarClick(TComponent* sender) {
  TfrmPadraoGrid::sbtCancelarClick(sender);
  // The typing is abandoned before the reload: the reload's scroll would
  // otherwise find it pending and cancel again, without end.
  boCancela = false;
  sbtVerificar.Click();
  const int col = IndiceCol(dbgPadrao, "NRINSJURCLIESUB");
  if (col >= 0) {
    dbgPadrao.Columns(col).SetReadOnly(true);
    dbgPadrao.Columns(col).SetButtonStyle(cbsNone);
  }
  dbgPadrao.ExcludeOptions(dgEditing);
  ClearBankAccount();
  HabilitaBotoes();
}

void TfrmDistrato::dtsPadraoStateChange(TComponent* sender) {
  TfrmPadraoGrid::dtsPadraoStateChange(sender);
  // While the base form is built there is no connection yet; the first
  // activation computes the commands.
  if (!creating_) HabilitaBotoes();
}

void TfrmDistrato::ClearBankAccount() {
  for (TCustomEdit* e : std::initializer_list<TCustomEdit*>{&medCdReduCont, &edtCdBanco, &edtAgencia, &edtContCorr})
    e->Clear();
}
