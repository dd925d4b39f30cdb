#pragma once
// The main screen as the screen tests start it: the module logged into the
// test's server on branch 0001, the budget typed and the list focused.

#include <memory>
#include <string>

#include "data/variant.h"
#include "fresh_server.h"
#include "hostdb/host_database.h"
#include "lib/corvane.h"
#include "operations/install.h"
#include "ui/application.h"
#include "ui/ui_service.h"
#include "workspace/cli_dxr10900.h"
#include "workspace/frm_distrato.h"

namespace testing_support {

inline TfrmDistrato& OpenScreenOnBudget(const FreshServer& server, const std::string& budget,
                                        const std::string& operatorCode = dx_test::kDemoOperator,
                                        const std::string& password = dx_test::kDemoPassword) {
  operations::InstallRescissionOperations();
  LoginEnvironment env;
  env.branch = "0001";
  env.branchName = "Porto Alegre - Centro";
  env.operatorCode = operatorCode;
  env.password = password;
  env.serverHost = "127.0.0.1";
  env.serverPort = server.port();
  SetLoginEnvironment(env);
  if (!dtmDBGeral().Connected()) dtmDBGeral().Open(DemoTemplate());
  CriaDistratoComercial();
  TfrmDistrato& f = *frmDistrato;
  f.medCdFilial.SetFocus();
  f.medCdFilial.SetText("0001");
  f.edtOrcamento.SetFocus();
  f.edtOrcamento.SetText(budget);
  f.dbgPadrao.UserSetFocus();
  return f;
}

// Closes the screen the test left open, lets its releases run, detaches the
// scripted UI and stops the server: what every screen test does after its end.
inline void CloseScreen(std::unique_ptr<FreshServer>& server) {
  if (frmDistrato) {
    frmDistrato->Close();
    Application().ProcessReleases();
  }
  SetUi(nullptr);
  server.reset();
}

}  // namespace testing_support
