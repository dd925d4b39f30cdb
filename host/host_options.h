#pragma once
// What the host is told on its command line (with environment-variable
// defaults): the login environment handed to the module, where to find the
// module and the branch database, and what to do at start.

#include <QString>
#include <QList>
#include <QPair>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "net/server_address.h"

struct HostOptions {
  QString serverHost = QStringLiteral("127.0.0.1");
  int serverPort = 7100;
  std::vector<ServerAddress> servers;  // every server when several were given; the first is serverHost:serverPort
  QString branch;          // FiliProc
  QString branchName;      // NomeFiliProc; read from the database when empty
  bool branchLocked = false;  // ModuFili
  QString operatorCode;    // Operador
  QString password;        // the operator's, from DX_PASSWORD only; asked in the login dialog when empty
  bool tls = false;        // the server speaks TLS
  QString caFile;          // a private CA to trust (PEM)
  QString processingDate;  // DataProc as given (dd/mm/yyyy or yyyy-mm-dd); empty: the branch's
  QString databasePath;    // the host's database with the table FILIAL
  QString modulePath;      // empty: look in the usual places
  bool openAtStart = false;
  QString screenshotPath;  // non-empty: open, settle, save a PNG, exit
  QString budget;          // non-empty: open and load this budget (before any screenshot)
  int party = 0;           // with a budget: the list row to select, 1-based; 0 keeps the first
  QStringList clicks;      // controls of the main screen clicked in order, after the budget loads
  QList<QPair<QString, int>> drags;  // splitters of the main screen dragged by pixels, after the budget loads
  bool maximizeScreen = false;
  QString shortfallPath;   // non-empty: open the product shortfall list over this file's products  // maximise the module's screen inside the main window once it opens
};

struct HostOptionsResult {
  std::optional<HostOptions> options;
  QString error;      // why the command line was refused
  QString helpText;   // non-empty when --help or --version was asked: print it and stop
};

// Reads the environment through `env` (name → value, empty when unset) so the
// parsing is tested without touching the process environment.
using EnvironmentLookup = std::function<QString(const char* name)>;

HostOptionsResult parseHostOptions(const QStringList& arguments, const EnvironmentLookup& env);
QString processEnvironment(const char* name);

// "HOST:PORT" (or "[v6]:PORT"), or several separated by commas, into the
// options' server fields; false when it does not read as that.
bool parseServerAddress(const QString& text, HostOptions& options);
