#pragma once
// The real dxr10900-server on a temporary demo database, started once for
// the whole test program (the screen only reads), and the screen fixture
// that logs into it with a scripted UI.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>
#include <string>

#include "hostdb/host_database.h"
#include "lib/corvane.h"
#include "test_server.h"
#include "ui/application.h"
#include "ui/scripted_ui.h"
#include "workspace/cli_dxr10900.h"
#include "workspace/frm_distrato.h"

namespace testing_support {

// One server for the whole test program.
struct DemoServer {
  static dx_test::DemoServer& Get() {
    static dx_test::DemoServer server;
    return server;
  }
};

// A port nobody listens on.
inline int ClosedPort() { return dx_test::FreeLoopbackPort(); }

inline LoginEnvironment DemoLogin(bool locked = false) {
  LoginEnvironment env;
  env.branch = "0001";
  env.branchName = "Porto Alegre - Centro";
  env.branchLocked = locked;
  env.operatorCode = dx_test::kDemoOperator;
  env.password = dx_test::kDemoPassword;
  env.serverHost = "127.0.0.1";
  env.serverPort = DemoServer::Get().port();
  return env;
}

// Opens the main screen on the demo server with a scripted UI; closes and
// frees it afterwards.
class ScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetUi(&ui);
    SetLoginEnvironment(DemoLogin(locked()));
    if (!dtmDBGeral().Connected()) dtmDBGeral().Open(DemoServer::Get().database());
  }
  void TearDown() override {
    if (frmDistrato) {
      frmDistrato->Close();
      Application().ProcessReleases();
    }
    SetUi(nullptr);
  }
  virtual bool locked() const { return false; }

  TfrmDistrato& Open() {
    CriaDistratoComercial();
    return *frmDistrato;
  }
  // Opens the screen, types branch and budget and leaves the filter for the
  // list, as the user does.
  TfrmDistrato& Load(const std::string& budget, const std::string& branch = "0001") {
    TfrmDistrato& f = Open();
    f.medCdFilial.SetFocus();
    f.medCdFilial.SetText(branch);
    f.edtOrcamento.SetFocus();
    f.edtOrcamento.SetText(budget);
    f.dbgPadrao.UserSetFocus();
    return f;
  }
  // Makes the party with that trade name current.
  static void GoTo(TfrmDistrato& f, const std::string& name) {
    ASSERT_TRUE(f.cdsContratante.Locate("NMFANTCLIE", Variant(name), loCaseInsensitive)) << name;
  }

  ScriptedUi ui;
};

}  // namespace testing_support
