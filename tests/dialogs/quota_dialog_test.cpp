// "Transferir Cotas" driven headless as the user does: what it shows, when
// its buttons are offered, what confirm, cancel and the close box return,
// and the guests asked again on every activation.

#include "../workspace_form/demo_server.h"
#include "dialogs/cli_dxr10906.h"
#include "dialogs/frm_transf_cotas.h"
#include "ui/run_handler.h"

namespace {

using testing_support::ScreenTest;

class QuotaDialog : public ScreenTest {
 protected:
  Variant Run(double value, std::function<void(TfrmTransfCotas&)> drive) {
    ui.DriveModal([drive](TForm& form) { drive(dynamic_cast<TfrmTransfCotas&>(form)); });
    return CriaTrocaTitularidade(Open(), "Gustavo Ritter Paim", "Lucas Pereira Antunes", value);
  }
  static void Type(TNumberEdit& e, const std::string& text) {
    e.UserSetFocus();
    e.UserType(text);
  }
  static std::vector<double> Numbers(const Variant& result) {
    return {result[0].asDouble(), result[1].asDouble(), result[2].asDouble()};
  }
  std::vector<std::string> Errors() {
    std::vector<std::string> out;
    for (const auto& e : ui.EventsOf(ScriptedUi::EventKind::Message))
      if (e.type == mtError) out.push_back(e.text);
    return out;
  }
};

TEST_F(QuotaDialog, ShowsWhoGivesWhoReceivesAndTheValueAndReturnsWhatWasConfirmed) {
  bool okAtStart = true, cancelAtStart = true, okWithoutQuotas = true, okReady = false, cancelReady = false;
  std::string from, to, code, caption, shownValue;
  bool valueReadOnly = false;
  const Variant result = Run(15000.5, [&](TfrmTransfCotas& d) {
    EXPECT_EQ(Cli_DXR10906::frmTransfCotas, &d);
    code = d.lblCodTela.Caption();
    caption = d.Caption();
    from = d.edtDeNmContr.Text();
    to = d.edtParaNmContr.Text();
    shownValue = d.nedVrTransf.Text();
    valueReadOnly = d.nedVrTransf.ReadOnly();
    okAtStart = d.sbtOk.Enabled();
    cancelAtStart = d.sbtCanc.Enabled();
    Type(d.nedQtConv, "30");
    okWithoutQuotas = d.sbtOk.Enabled();  // no message: the button simply stays off
    Type(d.nedQtCotas, "18");
    okReady = d.sbtOk.Enabled();
    cancelReady = d.sbtCanc.Enabled();
    d.sbtOk.UserClick();
  });
  EXPECT_EQ(code, "DXR10906");
  EXPECT_EQ(caption, "Transferir Cotas");
  EXPECT_EQ(from, "Gustavo Ritter Paim");
  EXPECT_EQ(to, "Lucas Pereira Antunes");
  EXPECT_EQ(shownValue, "15.000,50");
  EXPECT_TRUE(valueReadOnly);
  EXPECT_FALSE(okAtStart);
  EXPECT_FALSE(cancelAtStart);
  EXPECT_FALSE(okWithoutQuotas);
  EXPECT_TRUE(okReady);
  EXPECT_TRUE(cancelReady);
  EXPECT_EQ(Numbers(result), (std::vector<double>{15000.5, 30, 18}));
  EXPECT_TRUE(Cli_DXR10906::boOk);
  EXPECT_TRUE(Cli_DXR10906::boIdCriado);
  EXPECT_EQ(Cli_DXR10906::frmTransfCotas, nullptr);
  EXPECT_TRUE(Errors().empty());
}

TEST_F(QuotaDialog, CancelAndTheCloseBoxReturnZeros) {
  const Variant cancelled = Run(900, [](TfrmTransfCotas& d) {
    Type(d.nedQtConv, "5");
    Type(d.nedQtCotas, "2");
    d.sbtCanc.UserClick();
  });
  EXPECT_EQ(Numbers(cancelled), (std::vector<double>{0, 0, 0}));
  EXPECT_FALSE(Cli_DXR10906::boOk);

  const Variant closed = Run(900, [](TfrmTransfCotas& d) {
    Type(d.nedQtConv, "5");
    Type(d.nedQtCotas, "2");
    d.Close();
  });
  EXPECT_EQ(Numbers(closed), (std::vector<double>{0, 0, 0}));
}

TEST_F(QuotaDialog, WithNothingOpenOnlyTheCloseBoxIsLeft) {
  bool okEver = false;
  const Variant result = Run(0, [&](TfrmTransfCotas& d) {
    Type(d.nedQtConv, "5");
    Type(d.nedQtCotas, "2");
    okEver = d.sbtOk.Enabled() || d.sbtCanc.Enabled();
    RunHandler([&] { d.sbtOk.Click(); });  // even a click by code is refused
    EXPECT_TRUE(d.Showing() || d.ModalResult() == mrNone);
    d.Close();
  });
  EXPECT_FALSE(okEver);
  EXPECT_EQ(Errors(), std::vector<std::string>{"Valor transferido deve ser maior que zero."});
  EXPECT_EQ(Numbers(result), (std::vector<double>{0, 0, 0}));
}

TEST_F(QuotaDialog, ComingBackToTheDialogAsksTheGuestsAgain) {
  double guestsAfter = -1, quotasAfter = -1;
  bool okAfter = true;
  std::vector<std::string> errors;
  const Variant result = Run(300, [&](TfrmTransfCotas& d) {
    Type(d.nedQtConv, "5");
    Type(d.nedQtCotas, "2");
    d.FormActivate(&d);  // back from another window
    guestsAfter = d.nedQtConv.GetNumber();
    quotasAfter = d.nedQtCotas.GetNumber();
    okAfter = d.sbtOk.Enabled();
    RunHandler([&] { d.sbtOk.Click(); });  // by code: the guests are checked again
    errors = Errors();
    Type(d.nedQtConv, "7");
    d.sbtOk.UserClick();
  });
  EXPECT_EQ(guestsAfter, 0);
  EXPECT_EQ(quotasAfter, 2);
  EXPECT_FALSE(okAfter);
  EXPECT_EQ(errors, std::vector<std::string>{"Quantidade de convidados deve ser maior que zero."});
  EXPECT_EQ(Numbers(result), (std::vector<double>{300, 7, 2}));
}

}  // namespace
