#include "lib/frm_padrao_simples.h"

#include "lib/command_bar.h"
#include "lib/lib_ui_hooks.h"
#include "lib/standard_commands.h"

namespace sc = standard_commands;

namespace {
constexpr int kToolBarHeight = 34;
constexpr CommandSpec kAjuda{"sbtAjuda", "Ajuda", "ajuda", "mnuAjuda", "A&juda", 112 /* F1 */};

bool Editing(const TDataSource& source) { return source.State() == dsEdit || source.State() == dsInsert; }
}  // namespace

TfrmPadraoSimples::TfrmPadraoSimples(const std::string& screenCode)
    : mnuMenu(Add<TMainMenu>("mnuMenu")),
      mnuManutencao(AddMenuItem(*this, mnuMenu.Items(), "mnuManutencao", "&Manutenção")),
      panMenu(Add<TPanel>("panMenu", this)),
      sbtIncluir(AddCommand(*this, panMenu, mnuManutencao, sc::kIncluir)),
      sbtAlterar(AddCommand(*this, panMenu, mnuManutencao, sc::kAlterar)),
      sbtExcluir(AddCommand(*this, panMenu, mnuManutencao, sc::kExcluir)),
      sbtProcurar(AddCommand(*this, panMenu, mnuManutencao, sc::kProcurar)),
      sbtVerificar(AddCommand(*this, panMenu, mnuManutencao, sc::kVerificar)),
      sbtCancelar(AddCommand(*this, panMenu, mnuManutencao, sc::kCancelar)),
      sbtConfirmar(AddCommand(*this, panMenu, mnuManutencao, sc::kConfirmar)),
      sbtImprimir(AddCommand(*this, panMenu, mnuManutencao, sc::kImprimir)),
      sbtAjuda(AddCommand(*this, panMenu, mnuManutencao, kAjuda)),
      sbtSair(AddToolButton(*this, panMenu, "sbtSair", "Sair", "sair")),
      mnuLinha1(AddMenuItem(*this, mnuManutencao, "mnuLinha1", "-")),
      mnuSair(AddMenuItem(*this, mnuManutencao, "mnuSair", "&Sair", scCtrl | 115 /* F4 */)),
      lblCodTela(Add<TLabel>("lblCodTela", &panMenu)),
      dtsPadrao(Own<TDataSource>("dtsPadrao", "dtsPadrao")),
      msgPadrao(Own<TMessages>("msgPadrao", "msgPadrao")),
      msgMensagensPadroes(Own<TMessages>("msgMensagensPadroes", "msgMensagensPadroes")) {
  InstallLibUiHooks();
  SetPosition(poScreenCenter);
  SetMenu(&mnuMenu);
  panMenu.SetAlign(alTop);
  panMenu.SetHeight(kToolBarHeight);
  lblCodTela.SetAlign(alRight);
  lblCodTela.SetWidth(70);
  lblCodTela.SetAlignment(taRightJustify);
  lblCodTela.SetCaption(screenCode);
  for (TButtonFlat* off : {&sbtIncluir, &sbtExcluir, &sbtProcurar, &sbtVerificar, &sbtImprimir}) off->SetEnabled(false);
  WireHandlers();
}

void TfrmPadraoSimples::WireHandlers() {
  OnCreate = [this](TComponent* s) { FormCreate(s); };
  OnClose = [this](TComponent* s, TCloseAction& action) { FormClose(s, action); };
  mnuSair.OnClick = [this](TComponent* s) { mnuSairClick(s); };
  sbtSair.OnClick = [this](TComponent* s) { mnuSairClick(s); };
  sbtIncluir.OnClick = [this](TComponent* s) { sbtIncluirClick(s); };
  sbtAlterar.OnClick = [this](TComponent* s) { sbtAlterarClick(s); };
  sbtExcluir.OnClick = [this](TComponent* s) { sbtExcluirClick(s); };
  sbtProcurar.OnClick = [this](TComponent* s) { sbtProcurarClick(s); };
  sbtVerificar.OnClick = [this](TComponent* s) { sbtVerificarClick(s); };
  sbtCancelar.OnClick = [this](TComponent* s) { sbtCancelarClick(s); };
  sbtConfirmar.OnClick = [this](TComponent* s) { sbtConfirmarClick(s); };
  sbtImprimir.OnClick = [this](TComponent* s) { sbtImprimirClick(s); };
  sbtAjuda.OnClick = [this](TComponent* s) { sbtAjudaClick(s); };
}

void TfrmPadraoSimples::FormCreate(TComponent* /*sender*/) {}

void TfrmPadraoSimples::FormClose(TComponent* /*sender*/, TCloseAction& /*action*/) {}

void TfrmPadraoSimples::mnuSairClick(TComponent* /*sender*/) {
  if (Modal()) SetModalResult(mrCancel);
  else Close();
}

void TfrmPadraoSimples::sbtIncluirClick(TComponent* /*sender*/) {
  if (TClientDataSet* data = dtsPadrao.DataSet(); data && data->Active()) data->Append();
}

void TfrmPadraoSimples::sbtAlterarClick(TComponent* /*sender*/) {
  if (TClientDataSet* data = dtsPadrao.DataSet(); data && data->Active() && !data->IsEmpty()) data->Edit();
}

void TfrmPadraoSimples::sbtExcluirClick(TComponent* /*sender*/) {}
void TfrmPadraoSimples::sbtProcurarClick(TComponent* /*sender*/) {}
void TfrmPadraoSimples::sbtVerificarClick(TComponent* /*sender*/) {}

void TfrmPadraoSimples::sbtConfirmarClick(TComponent* /*sender*/) {
  if (Editing(dtsPadrao)) dtsPadrao.DataSet()->Post();
}

void TfrmPadraoSimples::sbtCancelarClick(TComponent* /*sender*/) {
  if (Editing(dtsPadrao)) dtsPadrao.DataSet()->Cancel();
}

void TfrmPadraoSimples::sbtImprimirClick(TComponent* /*sender*/) {}
void TfrmPadraoSimples::sbtAjudaClick(TComponent* /*sender*/) {}
