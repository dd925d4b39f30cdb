#pragma once
// The real dxr10900-server for tests and benchmarks: a temporary demo
// database written by `--init-demo`, and the server listening on a free
// loopback port, stopped and its files removed when the objects go away.

#include <signal.h>
#include <sys/types.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace dx_test {

// The demo supervisor every test logs in as unless it tests the login itself:
// a connection must log in before the server runs any method.
inline constexpr const char* kDemoOperator = "SUPERVISOR";
inline constexpr const char* kDemoPassword = "DISTRATO";

// A loopback port nobody listens on now: bound, read and released again.
int FreeLoopbackPort();

// The server program built with the tests.
std::string ServerProgram();

// Runs the server program with these arguments, its output discarded, and
// returns its exit status (-1 when it did not exit normally).
int RunServerProgram(const std::vector<std::string>& args, const std::string& program = "");

// A fresh directory under the system's temporary one, removed with its contents.
class TempDir {
 public:
  explicit TempDir(const std::string& prefix = "dxr10900-");
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

struct DemoOptions {
  std::optional<int> parties;         // --parties N; the demo's own count when empty
  std::vector<std::string> initArgs;  // further arguments for --init-demo
  std::string program;                // empty: ServerProgram()
  std::vector<std::string> serveArgs; // further arguments for serving (after --listen)
  std::string database = {};          // the demo written here (a PostgreSQL conninfo); empty: a SQLite file of its own
};

// Writes the demo database at `database`; throws when the program fails.
void InitDemoDatabase(const std::string& database, const DemoOptions& options = {});

// A demo database in a directory of its own.
class DemoDatabase {
 public:
  explicit DemoDatabase(const DemoOptions& options = {});
  const std::string& path() const { return path_; }

 private:
  TempDir dir_;
  std::string path_;
};

// `dxr10900-server --db DATABASE --listen 127.0.0.1:0` as a child process
// whose first stdout line tells where it listens. A server that fails to
// start does not throw here: firstLine() says what it printed instead. Its
// log goes to `logFile` when one is named, else to the tests' own stderr.
class ServerProcess {
 public:
  explicit ServerProcess(const std::string& database, const std::string& program = "",
                         const std::vector<std::string>& serveArgs = {}, const std::string& logFile = "");
  // SIGTERM, and SIGKILL when the server does not go within a few seconds.
  ~ServerProcess();
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;

  const std::string& firstLine() const { return firstLine_; }
  bool listening() const { return port_ > 0; }
  // Throws unless the first line was `listening on HOST:PORT`.
  void requireListening() const;
  const std::string& host() const { return host_; }
  int port() const { return port_; }
  std::string address() const { return host_ + ":" + std::to_string(port_); }
  pid_t pid() const { return pid_; }

  // Sends the signal, waits and returns the exit status (-1 when killed).
  int stop(int signal = SIGTERM);

 private:
  pid_t pid_ = -1;
  FILE* out_ = nullptr;  // kept open so the server never writes to a closed pipe
  std::string firstLine_, host_;
  int port_ = 0;
};

// A demo database served by its own server; throws when either fails.
class DemoServer {
 public:
  explicit DemoServer(const DemoOptions& options = {});

  const std::string& database() const { return database_.path(); }
  const std::string& host() const { return server_.host(); }
  int port() const { return server_.port(); }
  std::string address() const { return server_.address(); }
  int stop(int signal = SIGTERM) { return server_.stop(signal); }
  pid_t pid() const { return server_.pid(); }

 private:
  DemoDatabase database_;
  ServerProcess server_;
};

}  // namespace dx_test
