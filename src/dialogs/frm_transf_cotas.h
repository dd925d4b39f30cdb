#pragma once
// TfrmTransfCotas (unit Cli_DXR10906): "Transferir Cotas", the modal dialog
// of the quota transfer. It shows from whom and to whom the quotas pass and
// the value transferred (read-only), and asks how many quotas the value
// corresponds to and how many guests go with them. Inputs and results are
// the unit's globals (cli_dxr10906.h). User-interface thread only.

#include "lib/button_flat.h"
#include "lib/frm_padrao_simples.h"
#include "lib/number_edit.h"
#include "ui/containers.h"
#include "ui/edit.h"
#include "ui/static_controls.h"

class TfrmTransfCotas : public TfrmPadraoSimples {
 public:
  TfrmTransfCotas();

  TGroupBox& grbTransferir;
  TLabel& lblDe;
  TEdit& edtDeNmContr;
  TLabel& lblPara;
  TEdit& edtParaNmContr;
  TLabel& lblVrTransf;
  TNumberEdit& nedVrTransf;
  TLabel& lblCorresponde;
  TNumberEdit& nedQtCotas;
  TLabel& lblCotas;
  TLabel& lblQtConv;
  TNumberEdit& nedQtConv;
  TButtonFlat& sbtOk;
  TButtonFlat& sbtCanc;

  void FormCreate(TComponent* sender) override;
  void FormActivate(TComponent* sender);
  void FormClose(TComponent* sender, TCloseAction& action) override;
  // Shared by the three number edits.
  void nedQtConvChange(TComponent* sender);
  void HabilitaBotoes();
  void sbtOkClick(TComponent* sender);
  void sbtCancClick(TComponent* sender);
};
