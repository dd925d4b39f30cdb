#include "host_options.h"

#include <QCommandLineParser>
#include <QDate>

#include "drag_splitters.h"
#include "lib/corvane.h"

namespace {

QString orDefault(const QCommandLineParser& parser, const QString& option, const QString& fallback) {
  return parser.isSet(option) ? parser.value(option) : fallback;
}

}  // namespace

QString processEnvironment(const char* name) { return qEnvironmentVariable(name); }

bool parseServerAddress(const QString& text, HostOptions& options) {
  const std::optional<std::vector<ServerAddress>> servers = ParseServerList(text.toStdString());
  if (!servers) return false;
  options.serverHost = QString::fromStdString(servers->front().host);
  options.serverPort = servers->front().port;
  options.servers = servers->size() > 1 ? *servers : std::vector<ServerAddress>{};
  return true;
}

HostOptionsResult parseHostOptions(const QStringList& arguments, const EnvironmentLookup& env) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Distrato Comercial — desktop host"));
  const auto helpOption = parser.addHelpOption();
  const auto versionOption = parser.addVersionOption();
  parser.addOptions({
      {"server", "Application server address, or several separated by commas, tried in turn when one fails "
                 "(env DX_SERVER).", "HOST:PORT[,HOST:PORT...]"},
      {"branch", "Login branch code, FiliProc (env DX_BRANCH).", "CODE"},
      {"branch-name", "Login branch name; read from the database when omitted.", "NAME"},
      {"branch-locked", "The login is bound to its branch, ModuFili (env DX_BRANCH_LOCKED=1)."},
      {"operator", "Logged-in operator code (env DX_OPERATOR); the password comes from env DX_PASSWORD "
                   "or is asked at start.", "CODE"},
      {"tls", "The server speaks TLS (env DX_TLS=1)."},
      {"ca", "With --tls: PEM file of a private CA to trust (env DX_CA).", "FILE"},
      {"date", "Processing date, dd/mm/yyyy or yyyy-mm-dd, overriding the branch's own (env DX_DATE; default the "
               "login branch's processing date in the host database).", "DATE"},
      {"database", "Host database holding the table FILIAL: a SQLite file, or a PostgreSQL connection string "
                   "such as postgresql://host/db or 'host=... dbname=...' (env DX_DATABASE).", "FILE|CONNINFO"},
      {"module", "Path of libPkg_DXR10900.so (env DX_MODULE).", "PATH"},
      {"open", "Open the module at start."},
      {"screenshot", "Open the module, let it settle, save a PNG of the main window and exit.",
       "FILE"},
      {"budget", "Open the module, type this budget and leave the filter so the list loads.", "NUMBER"},
      {"party", "With --budget: select this row of the list (1-based).", "N"},
      {"click", "Open the module and, after any budget load, click these controls of the main screen in order.",
       "CONTROL[,CONTROL...]"},
      {"maximize", "Open the module and maximise its screen inside the main window."},
      {"shortfall", "Open the module's product shortfall list over the products of FILE, one CODE;NAME a line.",
       "FILE"},
      {"drag", "Open the module and, after any budget load, drag a splitter of the main screen by PIXELS "
               "(down or right positive).", "SPLITTER:PIXELS"},
  });

  HostOptionsResult result;
  if (!parser.parse(arguments)) {
    result.error = parser.errorText();
    return result;
  }
  if (parser.isSet(helpOption)) {
    result.helpText = parser.helpText();
    // Parsed before any QApplication exists, so that --help needs no display;
    // Qt then cannot name the program itself.
    result.helpText.replace(QStringLiteral("<executable_name>"), QStringLiteral("distrato"));
    return result;
  }
  if (parser.isSet(versionOption)) {
    result.helpText = QStringLiteral("distrato " DX_VERSION "\n");
    return result;
  }
  if (!parser.positionalArguments().isEmpty()) {
    result.error = QStringLiteral("Unexpected argument: %1").arg(parser.positionalArguments().first());
    return result;
  }

  HostOptions o;
  // The login's defaults come from the same variables distrato-script reads.
  const LoginVariables login = ReadLoginVariables([&env](const char* name) { return env(name).toStdString(); });
  const auto fromEnv = [](const std::string& text) { return QString::fromStdString(text); };
  const QString server = orDefault(parser, "server", fromEnv(login.server));
  if (!server.isEmpty() && !parseServerAddress(server, o)) {
    result.error = QStringLiteral("Invalid server address \"%1\": expected HOST:PORT").arg(server);
    return result;
  }
  o.branch = orDefault(parser, "branch", fromEnv(login.branch));
  o.branchName = orDefault(parser, "branch-name", fromEnv(login.branchName));
  o.branchLocked = parser.isSet("branch-locked") || login.branchLocked;
  o.operatorCode = orDefault(parser, "operator", fromEnv(login.operatorCode));
  o.password = fromEnv(login.password);
  o.tls = parser.isSet("tls") || login.tls;
  o.caFile = orDefault(parser, "ca", fromEnv(login.caFile));
  o.databasePath = orDefault(parser, "database", env("DX_DATABASE"));
  o.modulePath = orDefault(parser, "module", env("DX_MODULE"));
  o.openAtStart = parser.isSet("open");
  o.maximizeScreen = parser.isSet("maximize");
  o.screenshotPath = parser.value("screenshot");
  o.shortfallPath = parser.value("shortfall");
  o.budget = parser.value("budget").trimmed();
  if (parser.isSet("budget") && o.budget.isEmpty()) {
    result.error = QStringLiteral("--budget needs a budget number");
    return result;
  }
  if (parser.isSet("party")) {
    bool ok = false;
    o.party = parser.value("party").toInt(&ok);
    if (!ok || o.party <= 0) {
      result.error = QStringLiteral("Invalid party \"%1\": expected a row number from 1").arg(parser.value("party"));
      return result;
    }
    if (o.budget.isEmpty()) {
      result.error = QStringLiteral("--party needs --budget");
      return result;
    }
  }

  if (parser.isSet("click")) {
    for (const QString& name : parser.values("click").join(',').split(',')) {
      if (name.trimmed().isEmpty()) {
        result.error = QStringLiteral("--click needs control names separated by commas");
        return result;
      }
      o.clicks << name.trimmed();
    }
  }

  for (const QString& text : parser.values("drag")) {
    QPair<QString, int> drag;
    if (!parseSplitterDrag(text, drag)) {
      result.error = QStringLiteral("Invalid drag \"%1\": expected SPLITTER:PIXELS").arg(text);
      return result;
    }
    o.drags << drag;
  }

  // Without a date the business day is the branch's, read once the database is known.
  const QString date = orDefault(parser, "date", fromEnv(login.date));
  DateTime day;
  if (!date.isEmpty() && !ParseLoginDate(date.toStdString(), day)) {
    result.error = QStringLiteral("Invalid date \"%1\": expected dd/mm/yyyy or yyyy-mm-dd").arg(date);
    return result;
  }
  o.processingDate = date;

  result.options = o;
  return result;
}
