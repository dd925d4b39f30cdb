// TfrmErroProdDistrato: controls and handlers of the product shortfall list.

#include "dialogs/frm_erro_prod_distrato.h"

namespace {
constexpr int kEnter = 13;
}  // namespace

const char* TfrmErroProdDistrato::DefaultText() {
  return "A soma da quantidade de alguns produtos do orçamento com a quantidade negativa gerada pelo distrato \n"
         "deve ser maior ou igual a zero:";
}

TfrmErroProdDistrato::TfrmErroProdDistrato()
    : Panel1(Add<TPanel>("Panel1", this)),
      imgErroOri(Add<TImage>("imgErroOri", &Panel1)),
      memInforma(Add<TMemo>("memInforma", &Panel1)),
      dbgMensagem(Add<TDBGrid>("dbgMensagem", this)),
      Panel2(Add<TPanel>("Panel2", this)),
      btnOK(Add<TButton>("btnOK", &Panel2)),
      dtsProduto(Own<TDataSource>("dtsProduto", "dtsProduto", nullptr)) {
  SetName("frmErroProdDistrato");
  SetCaption("ATENÇÃO");
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetBounds(0, 0, 736, 250);

  Panel1.SetAlign(alTop);
  Panel1.SetHeight(52);
  // Disabled: nothing in it takes the focus.
  Panel1.SetEnabled(false);
  imgErroOri.SetBounds(8, 7, 37, 38);
  imgErroOri.SetPicture("informacao");
  memInforma.SetBounds(50, 4, 680, 46);
  memInforma.SetReadOnly(true);
  memInforma.SetColor(clBtnFace);
  memInforma.SetTabStop(false);
  TFont font = memInforma.Font();
  font.size = 9;  // about 13 pixels of line height at 96 dpi
  memInforma.SetFont(font);
  memInforma.SetText(DefaultText());

  dbgMensagem.SetAlign(alClient);
  dbgMensagem.SetColor(clBtnFace);
  dbgMensagem.SetDataSource(&dtsProduto);
  dbgMensagem.SetOptions(dgTitles | dgColLines | dgRowLines | dgTabs | dgConfirmDelete | dgCancelOnExit);
  dbgMensagem.SetReadOnly(true);
  TFont titles = dbgMensagem.Font();
  titles.bold = true;
  dbgMensagem.SetTitleFont(titles);

  Panel2.SetAlign(alBottom);
  Panel2.SetHeight(38);
  btnOK.SetCaption("&OK");
  btnOK.SetBounds((736 - 75) / 2, 6, 75, 25);

  btnOK.OnClick = [this](TComponent* s) { btnOKClick(s); };
  OnClose = [this](TComponent* s, TCloseAction& action) { FormClose(s, action); };
  OnKeyDown = [this](TComponent* s, int& key, TShiftState shift) { FormKeyDown(s, key, shift); };
  OnActivate = [this](TComponent* s) { FormActivate(s); };
}

void TfrmErroProdDistrato::ShowProducts(TClientDataSet* dataset) {
  dbgMensagem.ClearColumns();
  dtsProduto.SetDataSet(dataset);
  if (!dataset) return;
  for (int i = 0; i < dataset->FieldCount(); ++i)
    if (dataset->Fields(i).Visible()) dbgMensagem.AddColumn(dataset->Fields(i).FieldName());
}

void TfrmErroProdDistrato::btnOKClick(TComponent* /*sender*/) { Close(); }

// Released by its creator once the modal run ends.
void TfrmErroProdDistrato::FormClose(TComponent* /*sender*/, TCloseAction& action) { action = caHide; }

void TfrmErroProdDistrato::FormKeyDown(TComponent* /*sender*/, int& key, TShiftState /*shift*/) {
  if (key == kEnter) btnOK.Click();
}

// The renderer repaints on every change; nothing to redraw by hand.
void TfrmErroProdDistrato::FormActivate(TComponent* /*sender*/) {}
