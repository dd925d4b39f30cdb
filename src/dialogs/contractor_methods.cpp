#include "dialogs/contractor_methods.h"

#include "contracts/remote_call.h"
#include "lib/consiste.h"
#include "net/net_connection.h"

namespace dialogs {

Variant InsContratDistrato(TNetConnection& net, Variant& contratantes, const std::string& branch,
                           const std::string& budget) {
  std::vector<Variant> args{contratantes, branch, budget};
  Variant result = CheckResultServ(net.Call("InsContratDistrato", args), true, 0);
  contratantes = args[0];
  return result;
}

Variant GetContratDistrato(TNetConnection& net, const std::string& branch, const std::string& budget) {
  return contracts::CallChecked(net, "GetContratDistrato", {branch, budget});
}

Variant GetFormaPgto(TNetConnection& net, const std::string& branch, const std::string& budget,
                     const std::string& client) {
  return contracts::CallChecked(net, "GetFormaPgto", {branch, budget, client});
}

Variant DeletaFormaPgto(TNetConnection& net, const std::string& branch, const std::string& budget,
                        const std::string& client) {
  return contracts::CallChecked(net, "DeletaFormaPgto", {branch, budget, client});
}

Variant SetConfirmar(TNetConnection& net, const Variant& parties, const Variant& plan, const std::string& branch,
                     const std::string& budget) {
  return contracts::CallChecked(net, "SetConfirmar", {parties, plan, branch, budget});
}

}  // namespace dialogs
