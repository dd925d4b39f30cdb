#include "scratch_postgres.h"

#include <fcntl.h>
#include <libpq-fe.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <vector>

namespace dx_test {
namespace {

namespace fs = std::filesystem;

// The socket's name only; the folder is private to this cluster.
constexpr int kPort = 5432;

[[noreturn]] void CannotStart(const std::string& why) {
  throw std::runtime_error("O PostgreSQL de teste não pôde iniciar: " + why +
                           " (scripts/install-deps instala os pacotes postgresql e libpq-dev)");
}

// The newest Debian cluster binaries, else pg_config's bindir.
std::string FindBinaries() {
  std::string best;
  int bestVersion = 0;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator("/usr/lib/postgresql", ec)) {
    const int version = std::atoi(entry.path().filename().c_str());
    if (version > bestVersion && fs::exists(entry.path() / "bin" / "postgres")) {
      bestVersion = version;
      best = (entry.path() / "bin").string();
    }
  }
  if (!best.empty()) return best;
  if (FILE* p = popen("pg_config --bindir 2>/dev/null", "r")) {
    char line[4096] = {};
    const bool read = std::fgets(line, sizeof line, p) != nullptr;
    pclose(p);
    std::string dir = read ? line : "";
    while (!dir.empty() && (dir.back() == '\n' || dir.back() == ' ')) dir.pop_back();
    if (!dir.empty() && fs::exists(fs::path(dir) / "postgres")) return dir;
  }
  CannotStart("nenhum servidor PostgreSQL instalado (/usr/lib/postgresql/*/bin)");
}

// The command line run as `nobody` when we are root (PostgreSQL refuses to
// run as root), killed with us either way.
std::vector<std::string> AsClusterOwner(std::vector<std::string> command) {
  std::vector<std::string> out;
  if (geteuid() == 0)
    out = {"/usr/bin/setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups", "--pdeathsig=KILL", "--"};
  out.insert(out.end(), command.begin(), command.end());
  return out;
}

// Starts the command with its output appended to `log`; returns its pid.
pid_t Spawn(const std::vector<std::string>& command, const std::string& log) {
  std::vector<char*> argv;
  for (const std::string& a : command) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid < 0) CannotStart("fork");
  if (pid == 0) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(127);
    const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (out >= 0) {
      dup2(out, STDOUT_FILENO);
      dup2(out, STDERR_FILENO);
    }
    execv(argv[0], argv.data());
    _exit(127);
  }
  return pid;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

struct ConnectionCloser {
  void operator()(PGconn* c) const { PQfinish(c); }
};
struct ResultCloser {
  void operator()(PGresult* r) const { PQclear(r); }
};

// Runs the command and throws with its output when it fails.
void RunOrThrow(const std::vector<std::string>& command, const std::string& log, const std::string& what) {
  int status = 0;
  waitpid(Spawn(command, log), &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) CannotStart(what + ":\n" + ReadFile(log));
}

// The data folder of an initdb made once per PostgreSQL version and user,
// with a throwaway cluster's shortcuts: trust on the private socket, texts in
// byte order as SQLite compares them. Made aside and renamed into place, so
// programs starting at once never see half of it.
std::string TemplateCluster(const std::string& binaries, const std::string& log) {
  const fs::path version = fs::path(binaries).parent_path().filename();
  const fs::path place = fs::temp_directory_path() /
                         ("dxr10900-pg-template-" + version.string() + "-" + std::to_string(geteuid()));
  const std::string data = (place / "data").string();
  if (fs::exists(place / "data" / "PG_VERSION")) return data;
  std::string staging = (fs::temp_directory_path() / "dxr10900-pg-staging-XXXXXX").string();
  if (!mkdtemp(staging.data())) CannotStart("mkdtemp");
  if (geteuid() == 0) {
    const passwd* nobody = getpwnam("nobody");
    if (!nobody || chown(staging.c_str(), nobody->pw_uid, nobody->pw_gid) != 0)
      CannotStart("a pasta não pôde passar ao usuário nobody");
  }
  RunOrThrow(AsClusterOwner({binaries + "/initdb", "-D", staging + "/data", "-U", "postgres", "--auth=trust", "-E",
                             "UTF8", "--locale=C", "--no-sync"}),
             log, "initdb falhou");
  std::error_code ec;
  fs::rename(staging, place, ec);
  if (ec) fs::remove_all(staging, ec);  // another program made it first
  return data;
}

}  // namespace

ScratchPostgres& ScratchPostgres::Shared() {
  static ScratchPostgres cluster;
  return cluster;
}

ScratchPostgres::ScratchPostgres() { start(); }

ScratchPostgres::~ScratchPostgres() { stop(); }

void ScratchPostgres::start() {
  binaries_ = FindBinaries();
  std::string pattern = (fs::temp_directory_path() / "dxr10900-pg-XXXXXX").string();
  if (!mkdtemp(pattern.data())) CannotStart("mkdtemp");
  folder_ = pattern;
  if (geteuid() == 0) {
    const passwd* nobody = getpwnam("nobody");
    if (!nobody || chown(folder_.c_str(), nobody->pw_uid, nobody->pw_gid) != 0)
      CannotStart("a pasta não pôde passar ao usuário nobody");
  }
  const std::string log = folder_ + "/server.log";
  const std::string data = folder_ + "/data";
  // Every test program of a run needs the same fresh cluster: one initdb
  // makes a template that the others copy.
  const std::string cluster = TemplateCluster(binaries_, log);
  int status = 0;
  const pid_t copy = Spawn(AsClusterOwner({"/bin/cp", "-a", cluster, data}), log);
  waitpid(copy, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    const std::string output = ReadFile(log);
    stop();
    CannotStart("a cópia do cluster modelo falhou:\n" + output);
  }
  postmaster_ = Spawn(AsClusterOwner({binaries_ + "/postgres", "-D", data, "-k", folder_, "-p",
                                      std::to_string(kPort), "-c", "listen_addresses=", "-c", "fsync=off", "-c",
                                      "synchronous_commit=off", "-c", "full_page_writes=off", "-c",
                                      "max_connections=300", "-c", "max_pred_locks_per_transaction=256"}),
                      log);
  const std::string admin = conninfo("postgres");
  for (int i = 0; i < 300; ++i) {
    if (PQping(admin.c_str()) == PQPING_OK) return;
    if (waitpid(postmaster_, &status, WNOHANG) == postmaster_) {
      postmaster_ = -1;
      const std::string output = ReadFile(log);
      stop();
      CannotStart("o servidor terminou ao iniciar:\n" + output);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  const std::string output = ReadFile(log);
  stop();
  CannotStart("o servidor não aceitou conexões em 30 s:\n" + output);
}

void ScratchPostgres::stop() {
  if (postmaster_ > 0) {
    // Immediate shutdown: nothing of a throwaway cluster needs to reach the disk.
    kill(postmaster_, SIGQUIT);
    int status = 0;
    for (int i = 0; i < 100 && waitpid(postmaster_, &status, WNOHANG) == 0; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (waitpid(postmaster_, &status, WNOHANG) == 0) {
      kill(postmaster_, SIGKILL);
      waitpid(postmaster_, &status, 0);
    }
    postmaster_ = -1;
  }
  if (!folder_.empty()) {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
    folder_.clear();
  }
}

std::string ScratchPostgres::conninfo(const std::string& db) const {
  return "host=" + folder_ + " port=" + std::to_string(kPort) + " user=postgres dbname=" + db;
}

std::string ScratchPostgres::createDatabase() {
  std::string name;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    name = "dx" + std::to_string(++databases_);
  }
  query("postgres", "CREATE DATABASE " + name);
  return conninfo(name);
}

std::string ScratchPostgres::query(const std::string& db, const std::string& sql) const {
  std::unique_ptr<PGconn, ConnectionCloser> c(PQconnectdb(conninfo(db).c_str()));
  if (PQstatus(c.get()) != CONNECTION_OK) throw std::runtime_error(PQerrorMessage(c.get()));
  std::unique_ptr<PGresult, ResultCloser> r(PQexec(c.get(), sql.c_str()));
  const ExecStatusType status = PQresultStatus(r.get());
  if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
    throw std::runtime_error(sql + ": " + PQresultErrorMessage(r.get()));
  if (status == PGRES_TUPLES_OK && PQntuples(r.get()) > 0) return PQgetvalue(r.get(), 0, 0);
  return "";
}

std::string DatabaseNameOf(const std::string& conninfo) {
  const auto at = conninfo.rfind("dbname=");
  return at == std::string::npos ? "" : conninfo.substr(at + 7);
}

}  // namespace dx_test
