// "Confirmar Valor Contratante" opening on the whole bulk budget, as the
// total rescission opens it: the main screen on the budget against a real
// server over loopback, the parties priced once (ConfValTodosCont), then
// each iteration opens the dialog on that payload (the review stored on the
// server, the parties loaded, the first party's plan) and leaves it.
//
// Argument: parties in the bulk budget.

#include <benchmark/benchmark.h>

#include <chrono>
#include <map>
#include <memory>
#include <string>

#include "contracts/total_methods.h"
#include "data/process_memory.h"
#include "dialogs/cli_dxr10903.h"
#include "dialogs/frm_conf_vr_contrat.h"
#include "hostdb/host_database.h"
#include "lib/corvane.h"
#include "test_server.h"
#include "ui/application.h"
#include "ui/scripted_ui.h"
#include "workspace/cli_dxr10900.h"
#include "workspace/frm_distrato.h"

namespace {

using Clock = std::chrono::steady_clock;

dx_test::DemoServer& Server(int parties) {
  static std::map<int, std::unique_ptr<dx_test::DemoServer>> servers;
  auto& server = servers[parties];
  if (!server) server = std::make_unique<dx_test::DemoServer>(dx_test::DemoOptions{parties, {}, "", {}});
  return *server;
}

void BM_OpenContractorDialog(benchmark::State& state) {
  // The process as the host sets it up.
  KeepFreedMemoryForReuse();
  dx_test::DemoServer& server = Server(static_cast<int>(state.range(0)));
  ScriptedUi ui;
  SetUi(&ui);
  LoginEnvironment env;
  env.branch = "0001";
  env.branchName = "Porto Alegre - Centro";
  env.operatorCode = dx_test::kDemoOperator;
  env.password = dx_test::kDemoPassword;
  env.serverHost = "127.0.0.1";
  env.serverPort = server.port();
  SetLoginEnvironment(env);
  if (!dtmDBGeral().Connected()) dtmDBGeral().Open(server.database());
  CriaDistratoComercial();
  TfrmDistrato& f = *frmDistrato;
  f.medCdFilial.UserSetFocus();
  f.medCdFilial.UserSetText("0001");
  f.edtOrcamento.UserSetFocus();
  f.edtOrcamento.UserSetText("0000009999");
  f.dbgPadrao.UserSetFocus();

  const Variant payload = contracts::ConfValTodosCont(
      f.netDistrato, {.filial = f.medCdFilial.Text(), .orcamento = f.edtOrcamento.Text(), .operador = "SUPERVISOR",
                      .empresa = "01", .contratantes = f.cdsContratante.Data(), .vrTotalOrca = 0, .modo = "N"});
  int rows = 0;
  for (auto _ : state) {
    Clock::time_point shown;
    ui.AnswerMessage(mrNo);
    ui.DriveModal([&](TForm& form) {
      shown = Clock::now();
      auto& d = dynamic_cast<TfrmConfVrContrat&>(form);
      rows = d.cdsVrContratantes.RecordCount();
      d.mnuSair.UserClick();
    });
    const auto start = Clock::now();
    CriaConfVrContrat(f, payload, true);
    state.SetIterationTime(std::chrono::duration<double>(shown - start).count());
  }
  state.counters["parties"] = rows;
  if (!ui.Exceptions().empty()) state.SkipWithError(ui.Exceptions().front().c_str());
  frmDistrato->Close();
  Application().ProcessReleases();
  SetUi(nullptr);
}

BENCHMARK(BM_OpenContractorDialog)->Arg(10000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
