#include "admin/password_prompt.h"

#include <termios.h>
#include <unistd.h>

#include <iostream>
#include <stdexcept>

namespace {

// Turns the terminal's echo off while it lives.
class NoEcho {
 public:
  NoEcho() {
    if (tcgetattr(STDIN_FILENO, &saved_) != 0) return;
    termios quiet = saved_;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    active_ = tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
  }
  ~NoEcho() {
    if (active_) tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved_);
  }
  NoEcho(const NoEcho&) = delete;
  NoEcho& operator=(const NoEcho&) = delete;

 private:
  termios saved_{};
  bool active_ = false;
};

std::string ReadLine() {
  std::string line;
  if (!std::getline(std::cin, line)) throw std::runtime_error("Nenhuma senha lida da entrada padrão.");
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

std::string Ask(const char* prompt) {
  std::cerr << prompt << std::flush;
  std::string line;
  {
    NoEcho quiet;
    line = ReadLine();
  }
  std::cerr << std::endl;
  return line;
}

}  // namespace

std::string ReadNewPassword() {
  if (!isatty(STDIN_FILENO)) return ReadLine();
  const std::string first = Ask("Nova senha: ");
  const std::string second = Ask("Repita a senha: ");
  if (first != second) throw std::runtime_error("As senhas digitadas não conferem.");
  return first;
}
