#include "lib/frm_padrao_comandos.h"

#include "lib/standard_commands.h"

namespace sc = standard_commands;

namespace {
constexpr int kToolBarHeight = 34;
constexpr int kF4 = 115;
}  // namespace

TfrmPadraoComandos::TfrmPadraoComandos(const std::string& screenCode, std::initializer_list<CommandSpec> further)
    : TfrmPadrao(screenCode),
      mnuMenu(Add<TMainMenu>("mnuMenu")),
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
      mnuLinha1(AddFurther(further)),
      mnuSair(AddMenuItem(*this, mnuManutencao, "mnuSair", "&Sair", scCtrl | kF4)),
      dtsPadrao(Own<TDataSource>("dtsPadrao", "dtsPadrao")),
      msgMensagensPadroes(Own<TMessages>("msgMensagensPadroes", "msgMensagensPadroes")) {
  SetMenu(&mnuMenu);
  panMenu.SetAlign(alTop);
  panMenu.SetHeight(kToolBarHeight);
  lblCodTela.SetParent(&panMenu);
  lblCodTela.SetAlign(alRight);
  lblCodTela.SetWidth(70);
  lblCodTela.SetAlignment(taRightJustify);
  WireHandlers();
}

// The form's own commands, then the separator before "Sair".
TMenuItem& TfrmPadraoComandos::AddFurther(std::initializer_list<CommandSpec> further) {
  for (const CommandSpec& spec : further) AddCommand(*this, panMenu, mnuManutencao, spec);
  return AddMenuItem(*this, mnuManutencao, "mnuLinha1", "-");
}

void TfrmPadraoComandos::WireHandlers() {
  mnuSair.OnClick = [this](TComponent* s) { mnuSairClick(s); };
  sbtIncluir.OnClick = [this](TComponent* s) { sbtIncluirClick(s); };
  sbtAlterar.OnClick = [this](TComponent* s) { sbtAlterarClick(s); };
  sbtExcluir.OnClick = [this](TComponent* s) { sbtExcluirClick(s); };
  sbtProcurar.OnClick = [this](TComponent* s) { sbtProcurarClick(s); };
  sbtVerificar.OnClick = [this](TComponent* s) { sbtVerificarClick(s); };
  sbtCancelar.OnClick = [this](TComponent* s) { sbtCancelarClick(s); };
  sbtConfirmar.OnClick = [this](TComponent* s) { sbtConfirmarClick(s); };
  sbtImprimir.OnClick = [this](TComponent* s) { sbtImprimirClick(s); };
}

bool TfrmPadraoComandos::PadraoEditing() const {
  const TDataSetState state = dtsPadrao.State();
  return state == dsEdit || state == dsInsert;
}

void TfrmPadraoComandos::mnuSairClick(TComponent* /*sender*/) { Close(); }

void TfrmPadraoComandos::sbtIncluirClick(TComponent* /*sender*/) {
  if (TClientDataSet* data = dtsPadrao.DataSet(); data && data->Active()) data->Append();
}

void TfrmPadraoComandos::sbtAlterarClick(TComponent* /*sender*/) {
  if (TClientDataSet* data = dtsPadrao.DataSet(); data && data->Active() && !data->IsEmpty()) data->Edit();
}

void TfrmPadraoComandos::sbtExcluirClick(TComponent* /*sender*/) {}
void TfrmPadraoComandos::sbtProcurarClick(TComponent* /*sender*/) {}
void TfrmPadraoComandos::sbtVerificarClick(TComponent* /*sender*/) {}

void TfrmPadraoComandos::sbtConfirmarClick(TComponent* /*sender*/) {
  if (PadraoEditing()) dtsPadrao.DataSet()->Post();
}

void TfrmPadraoComandos::sbtCancelarClick(TComponent* /*sender*/) {
  if (PadraoEditing()) dtsPadrao.DataSet()->Cancel();
}

void TfrmPadraoComandos::sbtImprimirClick(TComponent* /*sender*/) {}
