// TfrmConfSenhaDist: controls, catalogue and handlers of "Confirmar Senha".

#include "dialogs/frm_conf_senha_dist.h"

#include "contracts/undo_methods.h"
#include "dialogs/cli_dxr10905.h"
#include "lib/consiste.h"
#include "lib/criptografa.h"
#include "lib/mens_erro.h"
#include "lib/pesquisa.h"

using namespace Cli_DXR10905;

namespace {
constexpr int kOperatorWidth = 12;
constexpr int kF9 = 120;

TLabel& LabelAt(TForm& form, const char* name, TWinControl& parent, const char* caption, int top) {
  TLabel& l = form.Add<TLabel>(name, &parent);
  l.SetCaption(caption);
  l.SetFontBold(true);
  l.SetBounds(16, top, 60, 13);
  return l;
}
}  // namespace

TfrmConfSenhaDist::TfrmConfSenhaDist(TNetConnection& net)
    : TfrmRotiGeral("DXR10905"),
      lblOperador(LabelAt(*this, "lblOperador", grbDadosRel, "Operador", 28)),
      edtOperador(Add<TEdit>("edtOperador", &grbDadosRel)),
      sbtPesqOper(Add<TButtonFlat>("sbtPesqOper", &grbDadosRel)),
      edtNmOperador(Add<TEdit>("edtNmOperador", &grbDadosRel)),
      lblSenha(LabelAt(*this, "lblSenha", grbDadosRel, "Senha", 60)),
      edtSenha(Add<TEdit>("edtSenha", &grbDadosRel)),
      cdsOperador(Own<TClientDataSet>("cdsOperador", "cdsOperador")),
      dtsOperador(Own<TDataSource>("dtsOperador", "dtsOperador", &cdsOperador)),
      net_(net) {
  SetName("frmConfSenhaDist");
  SetCaption("Confirmar Senha");
  SetBorderStyle(bsDialog);
  SetBounds(0, 0, 420, 160);
  msgPadrao.Messages = {"N_CAD_OPER|Não há operador cadastrado.", "Oper|Operador", "Sen_Inv|Senha inválida.",
                        "OPER_N_INF|Operador deve ser informado.", "OPER_N_CAD|Operador não cadastrado."};

  cdsOperador.AddField("CDOPERADOR", FieldType::String, 12).SetDisplayLabel("Operador");
  cdsOperador.AddField("CDVENDEDOR", FieldType::String, 4).SetDisplayLabel("Vendedor");
  cdsOperador.AddField("NMFANVEN", FieldType::String, 50).SetVisible(false);
  cdsOperador.AddField("CDSENHOPER", FieldType::String, 20).SetVisible(false);
  cdsOperador.AddField("NMOPERADOR", FieldType::String, 40).SetDisplayLabel("Nome");

  edtOperador.SetBounds(84, 24, 100, 21);
  edtOperador.SetMaxLength(kOperatorWidth);
  edtOperador.SetColor(clInfoBk);
  edtOperador.SetTabOrder(0);
  sbtPesqOper.SetBounds(186, 22, 25, 25);
  sbtPesqOper.SetHint("Pesquisar operador (F9)");
  sbtPesqOper.SetGlyphs("pesquisar");
  edtNmOperador.SetBounds(214, 24, 180, 21);
  edtNmOperador.SetEnabled(false);
  edtNmOperador.SetColor(clBtnFace);
  edtSenha.SetBounds(84, 56, 100, 21);
  edtSenha.SetMaxLength(20);
  edtSenha.SetPasswordChar(U'*');
  edtSenha.SetTabOrder(1);

  edtOperador.OnExit = [this](TComponent* s) { edtOperadorExit(s); };
  edtOperador.OnKeyDown = [this](TComponent* s, int& key, TShiftState shift) { edtOperadorKeyDown(s, key, shift); };
  sbtPesqOper.OnClick = [this](TComponent* s) { sbtPesqOperClick(s); };
}

void TfrmConfSenhaDist::LoadOperators(const std::string& code) {
  cdsOperador.SetData(contracts::GetOperador(net_, {.codigo = code}));
}

void TfrmConfSenhaDist::Vd_Operador() {
  try {
    if (EmptyString(edtOperador.Text())) MensErro(msgPadrao.Msg("OPER_N_INF"), true);
    edtOperador.SetText(Ajusta(edtOperador.Text(), kOperatorWidth));
    LoadOperators(edtOperador.Text());
    if (cdsOperador.IsEmpty()) MensErro(msgPadrao.Msg("OPER_N_CAD"), true);
    edtOperador.SetText(cdsOperador.FieldByName("CDOPERADOR").AsString());
    edtNmOperador.SetText(cdsOperador.FieldByName("NMOPERADOR").AsString());
  } catch (...) {
    edtOperador.SetFocus();
    throw;
  }
}

void TfrmConfSenhaDist::edtOperadorExit(TComponent* /*sender*/) {
  edtOperador.SetText(Ajusta(edtOperador.Text(), kOperatorWidth));
  Vd_Operador();
}

void TfrmConfSenhaDist::edtOperadorKeyDown(TComponent* /*sender*/, int& key, TShiftState /*shift*/) {
  if (key == kF9) sbtPesqOperClick(&sbtPesqOper);
}

// Picking fills code and name only; the checks run at confirmation.
void TfrmConfSenhaDist::sbtPesqOperClick(TComponent* /*sender*/) {
  LoadOperators("T");
  if (Pesquisar(dtsOperador, msgPadrao.Msg("Oper") + "|" + msgPadrao.Msg("N_CAD_OPER"), false, true)) {
    edtOperador.SetText(cdsOperador.FieldByName("CDOPERADOR").AsString());
    edtNmOperador.SetText(cdsOperador.FieldByName("NMOPERADOR").AsString());
  }
}

// The server holds the password; the packet only says whether there is one.
bool TfrmConfSenhaDist::SenhaOK(const std::string& typed) {
  return contracts::ConfirmaSenhaOperador(
      net_, {.codigo = cdsOperador.FieldByName("CDOPERADOR").AsString(), .senha = typed});
}

bool TfrmConfSenhaDist::ExisteAcesso() {
  try {
    const std::string marker = cdsOperador.FieldByName("CDSENHOPER").AsString().substr(0, 20);
    if (!marker.empty() && edtSenha.Text().empty()) MensErro(msgPadrao.Msg("Sen_Inv"), true);
    if (!SenhaOK(NormalizaSenha(edtSenha.Text()))) MensErro(msgPadrao.Msg("Sen_Inv"), true);
    return true;
  } catch (...) {
    // The refused password selected, so typing again replaces it.
    edtSenha.SetFocus();
    edtSenha.SelectAll();
    throw;
  }
}

void TfrmConfSenhaDist::sbtConfirmaClick(TComponent* /*sender*/) {
  Vd_Operador();
  if (ExisteAcesso()) {
    stOperador = edtOperador.Text();
    SetModalResult(mrOk);
  }
}

void TfrmConfSenhaDist::sbtCancelClick(TComponent* sender) {
  TfrmRotiGeral::sbtCancelClick(sender);
  stOperador.clear();
}
