#include "lib/frm_padrao_simples.h"

namespace {
constexpr int kF1 = 112;
constexpr CommandSpec kAjuda{"sbtAjuda", "Ajuda", "ajuda", "mnuAjuda", "A&juda", kF1};
}  // namespace

TfrmPadraoSimples::TfrmPadraoSimples(const std::string& screenCode)
    : TfrmPadraoComandos(screenCode, {kAjuda}),
      sbtAjuda(*FindAs<TButtonFlat>("sbtAjuda")),
      sbtSair(AddToolButton(*this, panMenu, "sbtSair", "Sair", "sair")) {
  SetPosition(poScreenCenter);
  for (TButtonFlat* off : {&sbtIncluir, &sbtExcluir, &sbtProcurar, &sbtVerificar, &sbtImprimir}) off->SetEnabled(false);
  sbtSair.OnClick = [this](TComponent* s) { mnuSairClick(s); };
  sbtAjuda.OnClick = [this](TComponent* s) { sbtAjudaClick(s); };
}

void TfrmPadraoSimples::mnuSairClick(TComponent* /*sender*/) {
  if (Modal()) SetModalResult(mrCancel);
  else Close();
}

void TfrmPadraoSimples::sbtAjudaClick(TComponent* /*sender*/) {}
