// TfrmTransfCotas: controls, catalogue and handlers of "Transferir Cotas".

#include "dialogs/frm_transf_cotas.h"

#include "dialogs/cli_dxr10906.h"
#include "lib/mens_erro.h"

using namespace Cli_DXR10906;

namespace {
TLabel& LabelAt(TForm& form, const char* name, TWinControl& parent, const char* caption, int left, int top,
                int width) {
  TLabel& l = form.Add<TLabel>(name, &parent);
  l.SetCaption(caption);
  l.SetBounds(left, top, width, 13);
  return l;
}
}  // namespace

TfrmTransfCotas::TfrmTransfCotas()
    : TfrmPadraoSimples("DXR10906"),
      grbTransferir(Add<TGroupBox>("grbTransferir", this)),
      lblDe(LabelAt(*this, "lblDe", grbTransferir, "de", 12, 24, 30)),
      edtDeNmContr(Add<TEdit>("edtDeNmContr", &grbTransferir)),
      lblPara(LabelAt(*this, "lblPara", grbTransferir, "para", 12, 52, 30)),
      edtParaNmContr(Add<TEdit>("edtParaNmContr", &grbTransferir)),
      lblVrTransf(LabelAt(*this, "lblVrTransf", grbTransferir, "Vr.Transferido", 12, 84, 80)),
      nedVrTransf(Add<TNumberEdit>("nedVrTransf", &grbTransferir)),
      lblCorresponde(LabelAt(*this, "lblCorresponde", grbTransferir, "corresponde a ", 208, 84, 88)),
      nedQtCotas(Add<TNumberEdit>("nedQtCotas", &grbTransferir)),
      lblCotas(LabelAt(*this, "lblCotas", grbTransferir, "cota(s)", 358, 84, 50)),
      lblQtConv(LabelAt(*this, "lblQtConv", grbTransferir, "Qt.Convidados", 12, 114, 80)),
      nedQtConv(Add<TNumberEdit>("nedQtConv", &grbTransferir)),
      sbtOk(Add<TButtonFlat>("sbtOk", this)),
      sbtCanc(Add<TButtonFlat>("sbtCanc", this)) {
  SetName("frmTransfCotas");
  SetCaption("Transferir Cotas");
  SetBounds(0, 0, 440, 260);
  SetBorderStyle(bsDialog);
  msgPadrao.Messages = {"VALOR_MAIOR|Valor transferido deve ser maior que zero.",
                        "QT_CONV_MAIOR|Quantidade de convidados deve ser maior que zero."};

  grbTransferir.SetCaption("Transferir");
  grbTransferir.SetFontBold(true);
  grbTransferir.SetBounds(8, 40, 416, 144);
  edtDeNmContr.SetBounds(100, 20, 300, 21);
  edtDeNmContr.SetEnabled(false);
  edtDeNmContr.SetColor(clBtnFace);
  edtParaNmContr.SetBounds(100, 48, 300, 21);
  edtParaNmContr.SetEnabled(false);
  nedVrTransf.SetBounds(100, 80, 100, 21);
  nedVrTransf.SetDecimals(2);
  nedVrTransf.SetNumberFormat("#,##0.00");
  nedVrTransf.SetReadOnly(true);
  nedVrTransf.SetTabOrder(2);
  nedQtCotas.SetBounds(300, 80, 52, 21);
  nedQtCotas.SetDecimals(0);
  nedQtCotas.SetTabOrder(3);
  nedQtConv.SetBounds(100, 110, 60, 21);
  nedQtConv.SetDecimals(0);
  nedQtConv.SetTabOrder(4);

  sbtOk.SetBounds(126, 196, 90, 25);
  sbtOk.SetCaption("Ok");
  sbtOk.SetGlyphs("confirmar");
  sbtOk.SetEnabled(false);
  sbtCanc.SetBounds(224, 196, 90, 25);
  sbtCanc.SetCaption("Cancelar");
  sbtCanc.SetGlyphs("cancelar");
  sbtCanc.SetEnabled(false);

  OnActivate = [this](TComponent* s) { FormActivate(s); };
  for (TNumberEdit* e : {&nedVrTransf, &nedQtCotas, &nedQtConv})
    e->OnChange = [this](TComponent* s) { nedQtConvChange(s); };
  sbtOk.OnClick = [this](TComponent* s) { sbtOkClick(s); };
  sbtCanc.OnClick = [this](TComponent* s) { sbtCancClick(s); };
}

void TfrmTransfCotas::FormCreate(TComponent* sender) {
  TfrmPadraoSimples::FormCreate(sender);
  FormActivate(sender);
}

// The value and names passed in show again on every activation, and the
// guests must be entered again; the quotas keep what was typed.
void TfrmTransfCotas::FormActivate(TComponent* /*sender*/) {
  nedVrTransf.SetNumber(doValorTransf);
  nedQtConv.SetNumber(0);
  edtDeNmContr.SetText(stNomeContOrig);
  edtParaNmContr.SetText(stNomeContDest);
  boOk = false;
}

void TfrmTransfCotas::FormClose(TComponent* sender, TCloseAction& action) {
  TfrmPadraoSimples::FormClose(sender, action);
  if (!boOk) doValorTransf = doQtConvidados = doQtCotas = 0;
}

void TfrmTransfCotas::nedQtConvChange(TComponent* /*sender*/) { HabilitaBotoes(); }

void TfrmTransfCotas::HabilitaBotoes() {
  sbtOk.SetEnabled(nedVrTransf.GetNumber() > 0 && nedQtConv.GetNumber() > 0 && nedQtCotas.GetNumber() > 0);
  sbtCanc.SetEnabled(sbtOk.Enabled());
}

void TfrmTransfCotas::sbtOkClick(TComponent* /*sender*/) {
  if (!(nedVrTransf.GetNumber() > 0)) MensErro(msgPadrao.Msg("VALOR_MAIOR"), true);
  if (!(nedQtConv.GetNumber() > 0)) MensErro(msgPadrao.Msg("QT_CONV_MAIOR"), true);
  doValorTransf = nedVrTransf.GetNumber();
  doQtConvidados = nedQtConv.GetNumber();
  doQtCotas = nedQtCotas.GetNumber();
  boOk = true;
  Close();
}

void TfrmTransfCotas::sbtCancClick(TComponent* /*sender*/) {
  doValorTransf = doQtConvidados = doQtCotas = 0;
  boOk = false;
  Close();
}
