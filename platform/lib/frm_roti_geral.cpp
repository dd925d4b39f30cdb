#include "lib/frm_roti_geral.h"


namespace {
constexpr int kButtonPanelHeight = 41;
constexpr int kButtonWidth = 90;
constexpr int kButtonHeight = 25;
}  // namespace

TfrmRotiGeral::TfrmRotiGeral(const std::string& screenCode)
    : TfrmPadrao(screenCode),
      panBotoes(Add<TPanel>("panBotoes", this)),
      sbtConfirma(Add<TButtonFlat>("sbtConfirma", &panBotoes)),
      sbtCancel(Add<TButtonFlat>("sbtCancel", &panBotoes)),
      grbDadosRel(Add<TGroupBox>("grbDadosRel", this)) {
  SetPosition(poScreenCenter);
  SetBounds(0, 0, 400, 200);

  panBotoes.SetAlign(alBottom);
  panBotoes.SetHeight(kButtonPanelHeight);
  lblCodTela.SetParent(&panBotoes);
  lblCodTela.SetBounds(8, 14, 70, 15);
  sbtConfirma.SetCaption("&Confirmar");
  sbtConfirma.SetHint("Confirmar");
  sbtConfirma.SetGlyphs("confirmar");
  sbtCancel.SetCaption("C&ancelar");
  sbtCancel.SetHint("Cancelar");
  sbtCancel.SetGlyphs("cancelar");
  grbDadosRel.SetAlign(alClient);
  PlaceButtons();
  sbtConfirma.OnClick = [this](TComponent* s) { sbtConfirmaClick(s); };
  sbtCancel.OnClick = [this](TComponent* s) { sbtCancelClick(s); };
}

void TfrmRotiGeral::PlaceButtons() {
  const int top = (kButtonPanelHeight - kButtonHeight) / 2;
  const int right = panBotoes.Width() - 8;
  sbtCancel.SetBounds(right - kButtonWidth, top, kButtonWidth, kButtonHeight);
  sbtConfirma.SetBounds(right - 2 * kButtonWidth - 6, top, kButtonWidth, kButtonHeight);
}

void TfrmRotiGeral::sbtConfirmaClick(TComponent* /*sender*/) {}

void TfrmRotiGeral::sbtCancelClick(TComponent* /*sender*/) {
  if (Modal()) SetModalResult(mrCancel);
  else Close();
}
