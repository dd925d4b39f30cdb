#pragma once
// The real dxr10900-server on a temporary demo database, started once for
// the whole test program (the screen only reads), and the screen fixture
// that logs into it with a scripted UI.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "hostdb/host_database.h"
#include "lib/corvane.h"
#include "ui/application.h"
#include "ui/scripted_ui.h"
#include "workspace/cli_dxr10900.h"
#include "workspace/frm_distrato.h"

namespace testing_support {

class DemoServer {
 public:
  static DemoServer& Get() {
    static DemoServer server;
    return server;
  }
  int port() const { return port_; }
  const std::string& db() const { return db_; }

  ~DemoServer() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
    if (out_) fclose(out_);
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

 private:
  DemoServer() {
    std::string pattern = (std::filesystem::temp_directory_path() / "dxr10900-form-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp");
    dir_ = pattern;
    db_ = dir_ + "/demo.db";
    const std::string init = std::string(DXR10900_SERVER) + " --db " + db_ + " --init-demo >/dev/null 2>&1";
    if (std::system(init.c_str()) != 0) throw std::runtime_error("--init-demo failed");
    int fds[2];
    if (pipe(fds) != 0) throw std::runtime_error("pipe");
    pid_ = fork();
    if (pid_ == 0) {
      prctl(PR_SET_PDEATHSIG, SIGTERM);  // never outlive a test run that was killed
      dup2(fds[1], STDOUT_FILENO);
      close(fds[0]);
      close(fds[1]);
      execl(DXR10900_SERVER, DXR10900_SERVER, "--db", db_.c_str(), "--listen", "127.0.0.1:0", nullptr);
      _exit(127);
    }
    close(fds[1]);
    out_ = fdopen(fds[0], "r");
    char line[256] = {};
    if (!out_ || !fgets(line, sizeof line, out_)) throw std::runtime_error("server did not start");
    const std::string first = line;
    if (first.rfind("listening on ", 0) != 0) throw std::runtime_error("unexpected: " + first);
    port_ = std::stoi(first.substr(first.rfind(':') + 1));
  }

  std::string dir_, db_;
  pid_t pid_ = -1;
  FILE* out_ = nullptr;
  int port_ = 0;
};

// A port nobody listens on: bound, read and released again.
inline int ClosedPort() {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  socklen_t len = sizeof addr;
  if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
    throw std::runtime_error("bind");
  close(fd);
  return ntohs(addr.sin_port);
}

inline LoginEnvironment DemoLogin(bool locked = false) {
  LoginEnvironment env;
  env.branch = "0001";
  env.branchName = "Porto Alegre - Centro";
  env.branchLocked = locked;
  env.operatorCode = "SUPERVISOR";
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
    if (!dtmDBGeral().Connected()) dtmDBGeral().Open(DemoServer::Get().db());
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
