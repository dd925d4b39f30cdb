#include "test_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <thread>

namespace dx_test {

namespace {

// The program asked for, or the one built here.
const std::string& ProgramOr(const std::string& program) {
  static const std::string built = ServerProgram();
  return program.empty() ? built : program;
}

int ExitStatus(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }

// The argument vector, built before fork: a child of a threaded program
// must not allocate.
std::vector<char*> Argv(const std::string& program, const std::vector<std::string>& args) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  return argv;
}

}  // namespace

int FreeLoopbackPort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof addr;
  const bool bound = bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
                     getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) == 0;
  close(fd);
  if (!bound) throw std::runtime_error("no free loopback port");
  return ntohs(addr.sin_port);
}

std::string ServerProgram() { return DXR10900_SERVER; }

int RunServerProgram(const std::vector<std::string>& args, const std::string& program) {
  const std::string& path = ProgramOr(program);
  std::vector<char*> argv = Argv(path, args);
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork");
  if (pid == 0) {
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    execv(path.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return ExitStatus(status);
}

TempDir::TempDir(const std::string& prefix) {
  std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "XXXXXX")).string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void InitDemoDatabase(const std::string& database, const DemoOptions& options) {
  std::vector<std::string> args{"--db", database, "--init-demo"};
  if (options.parties) args.insert(args.end(), {"--parties", std::to_string(*options.parties)});
  args.insert(args.end(), options.initArgs.begin(), options.initArgs.end());
  if (RunServerProgram(args, options.program) != 0) {
    std::string command = ProgramOr(options.program);
    for (const std::string& a : args) command += " " + a;
    throw std::runtime_error("--init-demo failed: " + command);
  }
}

DemoDatabase::DemoDatabase(const DemoOptions& options)
    : dir_("dxr10900-demo-"), path_(options.database.empty() ? dir_.file("demo.db") : options.database) {
  InitDemoDatabase(path_, options);
}

ServerProcess::ServerProcess(const std::string& database, const std::string& program,
                             const std::vector<std::string>& serveArgs, const std::string& logFile) {
  const std::string& path = ProgramOr(program);
  std::vector<std::string> args{"--db", database, "--listen", "127.0.0.1:0"};
  args.insert(args.end(), serveArgs.begin(), serveArgs.end());
  std::vector<char*> argv = Argv(path, args);
  int fds[2];
  // Close-on-exec, so a later server never holds this one's pipe.
  if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("fork");
  if (pid_ == 0) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);  // never outlive a test run that was killed
    dup2(fds[1], STDOUT_FILENO);
    if (!logFile.empty()) {
      const int log = open(logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      if (log >= 0) dup2(log, STDERR_FILENO);
    }
    execv(path.c_str(), argv.data());
    _exit(127);
  }
  close(fds[1]);
  out_ = fdopen(fds[0], "r");
  char line[256] = {};
  if (out_ && fgets(line, sizeof line, out_)) firstLine_ = line;
  const std::string prefix = "listening on ";
  const auto colon = firstLine_.rfind(':');
  if (firstLine_.rfind(prefix, 0) == 0 && colon != std::string::npos && colon > prefix.size()) {
    host_ = firstLine_.substr(prefix.size(), colon - prefix.size());
    try {
      port_ = std::stoi(firstLine_.substr(colon + 1));
    } catch (const std::exception&) {
      port_ = 0;
    }
  }
}

ServerProcess::~ServerProcess() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (waitpid(pid_, nullptr, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > deadline) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  if (out_) fclose(out_);
}

void ServerProcess::requireListening() const {
  if (firstLine_.empty()) throw std::runtime_error("server did not start");
  if (!listening()) throw std::runtime_error("unexpected: " + firstLine_);
}

int ServerProcess::stop(int signal) {
  if (pid_ <= 0) return -1;
  kill(pid_, signal);
  int status = 0;
  waitpid(pid_, &status, 0);
  pid_ = -1;
  return ExitStatus(status);
}

DemoServer::DemoServer(const DemoOptions& options) : database_(options), server_(database_.path(), options.program, options.serveArgs) {
  server_.requireListening();
}

}  // namespace dx_test
