#pragma once
// TfrmConfSenhaDist (unit Cli_DXR10905): "Confirmar Senha", the modal dialog
// in which a supervisor or manager confirms an undo with operator code and
// password. The operator is looked up and the password checked on the
// application server through the main screen's connection; a confirmation
// the server accepts approves one undo on that connection. The confirmed
// code is the unit global `stOperador` (cli_dxr10905.h). User-interface
// thread only.

#include <string>

#include "data/client_dataset.h"
#include "data/data_source.h"
#include "lib/button_flat.h"
#include "lib/frm_roti_geral.h"
#include "ui/edit.h"
#include "ui/static_controls.h"

class TNetConnection;

class TfrmConfSenhaDist : public TfrmRotiGeral {
 public:
  explicit TfrmConfSenhaDist(TNetConnection& net);

  TLabel& lblOperador;
  TEdit& edtOperador;
  TButtonFlat& sbtPesqOper;
  TEdit& edtNmOperador;
  TLabel& lblSenha;
  TEdit& edtSenha;
  TClientDataSet& cdsOperador;
  TDataSource& dtsOperador;

  void edtOperadorExit(TComponent* sender);
  void edtOperadorKeyDown(TComponent* sender, int& key, TShiftState shift);
  void sbtPesqOperClick(TComponent* sender);
  void sbtConfirmaClick(TComponent* sender) override;
  void sbtCancelClick(TComponent* sender) override;

  // The operator check: the code informed and known to the server, its name
  // shown. Aborts with the catalogue's message, the focus on the code.
  void Vd_Operador();
  // The password check on the current operator; aborts with "Sen_Inv", the
  // focus on the password. Never returns false.
  bool ExisteAcesso();

 private:
  // True when the server accepts `typed` as the current operator's password.
  bool SenhaOK(const std::string& typed);
  void LoadOperators(const std::string& code);

  TNetConnection& net_;
};
