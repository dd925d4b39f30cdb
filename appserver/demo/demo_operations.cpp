#include "demo/demo_operations.h"

#include "app_server.h"
#include "data/packet.h"
#include "demo/demo_database.h"
#include "session/caller_session.h"

namespace {

constexpr const char* kCompany = "01";
constexpr const char* kBankAccount = "1";  // 001, BB Movimento

// The packet with `field` set to `value` on every row.
DataPacket WithEveryRow(DataPacket p, const char* field, const Variant& value) {
  const auto column = static_cast<std::size_t>(p.fieldIndex(field));
  for (std::size_t r = 0; r < p.rowCount(); ++r) p.rows[r][column] = value;
  return p;
}

}  // namespace

DemoOperations::DemoOperations(const std::string& path)
    : server_(std::make_unique<AppServer>(path)), supervisor_(std::make_unique<CallerSession>("demo")) {
  // The demo wrote this operator itself: nothing to prove with a password.
  supervisor_->logIn(demo::kSupervisor, "SUPERVISOR");
}

DemoOperations::~DemoOperations() = default;

Variant DemoOperations::call(const std::string& method, std::vector<Variant> args) {
  return server_->call(*supervisor_, method, args);
}

void DemoOperations::rescind(const DemoContract& c, double negotiated) {
  const DataPacket values = call("ConfirmaValores", {demo::kBranch, c.budget, c.seq, c.address, kCompany,
                                                     Variant(0.0), c.client, "", "N"})[0]
                                .asPacket();
  const double calculated = values.at(0, "VRORIGRECNOEDIT").asDouble();
  const bool refunded = values.at(0, "GERACTPAGAR").asText() == "CNTPAGAR";
  call("Distrato", {demo::kBranch, c.budget, c.seq, c.address, demo::kSupervisor, c.client, values.at(0, "VRMULTA"),
                    "", Variant(negotiated < 0 ? calculated : negotiated),
                    Variant(refunded ? -calculated : calculated)});
}

void DemoOperations::consolidate(const DemoContract& c, double due) {
  const Variant recorded =
      call("ConfirmaValores", {demo::kBranch, c.budget, c.seq, c.address, kCompany, Variant(0.0), c.client, "", "S"});
  const DataPacket& values = recorded[0].asPacket();
  const Variant negotiated = values.at(0, "VRORIGREC");
  DataPacket form({{"IDTPFORMAPGTO", FieldType::String, 1},
                   {"DTVENCPARCELA", FieldType::DateTime, 0},
                   {"VRPARCELA", FieldType::Float, 0}});
  form.addRow({Variant("V"), Variant(DateTime{due}), negotiated});
  call("ConsolidaDistrato", {demo::kBranch, c.budget, c.seq, c.address, Variant(form), negotiated, demo::kSupervisor,
                             kBankAccount, c.client, recorded[1], values.at(0, "GERACTPAGAR"), ""});
}

void DemoOperations::rescindTotal(const std::string& budget) {
  const Variant none(DataPacket({{"CDCLIENTE", FieldType::String, 21}}));
  const Variant priced =
      call("ConfValTodosCont", {demo::kBranch, budget, demo::kSupervisor, kCompany, none, Variant(0.0), "N"});
  call("DistratoTotal", {demo::kBranch, budget, demo::kSupervisor, kCompany, none, priced});
}

void DemoOperations::consolidateTotal(const std::string& budget, double due) {
  const Variant none(DataPacket({{"CDCLIENTE", FieldType::String, 21}}));
  std::vector<Variant> review{
      call("ConfValTodosCont", {demo::kBranch, budget, demo::kSupervisor, kCompany, none, Variant(0.0), "S"}),
      demo::kBranch, budget};
  const DataPacket parties = WithEveryRow(call("InsContratDistrato", review).asPacket(), "IDTPFORMAPGTO", Variant("V"));
  DataPacket plan({{"DTVENCIMENTO", FieldType::DateTime, 0}, {"CDFILIAL", FieldType::String, 4},
                   {"NRORCAEVENTO", FieldType::String, 10}, {"CDCLIENTE", FieldType::String, 21},
                   {"VRPARCELA", FieldType::Float, 0}, {"NRSEQORCAEVE", FieldType::FixedString, 2},
                   {"NRENDCLIORCEVE", FieldType::String, 10}});
  for (std::size_t r = 0; r < parties.rowCount(); ++r)
    plan.addRow({Variant(DateTime{due}), Variant(demo::kBranch), Variant(budget), parties.at(r, "CDCLIENTE"),
                 parties.at(r, "VRORIGREC"), parties.at(r, "NRSEQORCAEVE"), parties.at(r, "NRENDCLIORCEVE")});
  const Variant confirmed = call("SetConfirmar", {Variant(parties), Variant(plan), demo::kBranch, budget});
  call("ConsolidaDistratoTotal", {demo::kBranch, budget, demo::kSupervisor, kBankAccount, confirmed});
}
