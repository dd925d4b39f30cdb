#include "server_process.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

std::string ServerProcess::Program() {
  const char* env = std::getenv("DXR10900_SERVER");
  return env && *env ? env : DXR10900_SERVER;
}

ServerProcess::ServerProcess(int parties) {
  std::string pattern = (std::filesystem::temp_directory_path() / "dxr10900-bench-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp");
  dir_ = pattern;
  db_ = dir_ + "/demo.db";
  const std::string program = Program();
  const std::string init =
      program + " --db " + db_ + " --init-demo --parties " + std::to_string(parties) + " >/dev/null 2>&1";
  if (std::system(init.c_str()) != 0) throw std::runtime_error("--init-demo failed: " + init);

  int fds[2];
  if (pipe(fds) != 0) throw std::runtime_error("pipe");
  pid_ = fork();
  if (pid_ == 0) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);  // never outlive a benchmark that was killed
    dup2(fds[1], STDOUT_FILENO);
    close(fds[0]);
    close(fds[1]);
    execl(program.c_str(), program.c_str(), "--db", db_.c_str(), "--listen", "127.0.0.1:0", nullptr);
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

ServerProcess::~ServerProcess() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  if (out_) fclose(out_);
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}
