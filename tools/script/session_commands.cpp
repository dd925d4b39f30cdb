// login, open, form, activate, close: who is logged in and which form the
// script works on.

#include "command_table.h"
#include "session.h"
#include "ui/form.h"

namespace dxscript {

namespace {

bool ParseBool(const std::string& text, const std::string& what) {
  if (text == "true") return true;
  if (text == "false") return false;
  throw StepFailure(what + " must be true or false, not " + Quote(text));
}

}  // namespace

void RunLogin(Session& s, const Command& cmd) {
  LoginEnvironment& login = s.Login();
  for (const Option& o : cmd.options) {
    if (o.key == "branch") {
      login.branch = o.value;
    } else if (o.key == "branch-name") {
      login.branchName = o.value;
    } else if (o.key == "locked") {
      login.branchLocked = ParseBool(o.value, "locked");
    } else if (o.key == "operator") {
      login.operatorCode = o.value;
    } else if (o.key == "password") {
      login.password = o.value;
    } else if (o.key == "tls") {
      login.serverTls = ParseBool(o.value, "tls");
    } else if (o.key == "ca") {
      login.serverCaFile = o.value;
    } else if (o.key == "date") {
      DateTime day;
      if (!ParseLoginDate(o.value, day)) throw StepFailure("date must be dd/mm/yyyy, not " + Quote(o.value));
      login.processingDate = day;
    } else if (o.key == "server") {
      if (!SetLoginServers(login, o.value))
        throw StepFailure("server must be host:port, not " + Quote(o.value));
    }
  }
  s.ApplyLogin();
}

void RunOpen(Session& s, const Command&) {
  if (!s.Open()) throw StepFailure("no module to open");
}

void RunForm(Session& s, const Command& cmd) { s.SelectForm(cmd.args[0].text); }

void RunActivate(Session& s, const Command& cmd) {
  s.SelectForm(cmd.args[0].text);
  s.CurrentForm().UserActivate();
}

void RunClose(Session& s, const Command&) { s.CurrentForm().UserClose(); }

}  // namespace dxscript
