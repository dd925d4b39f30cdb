#pragma once
// The server's log: one line per event on standard error (the journal under
// systemd), prefixed with the UTC time and the level. Lines below the chosen
// level are not written. write() is thread-safe; lines never interleave.
// Callers never pass a password or a digest, and put what a client chose
// through PrintableText (net/printable_text.h).

#include <mutex>
#include <optional>
#include <string>

class ServerLog {
 public:
  enum class Level { Error = 0, Warning = 1, Info = 2, Debug = 3 };

  explicit ServerLog(Level level = Level::Info) : level_(level) {}

  bool enabled(Level level) const { return level <= level_; }
  void write(Level level, const std::string& line);

  // "error", "warning", "info" or "debug"; nothing for any other text.
  static std::optional<Level> ParseLevel(const std::string& name);

 private:
  Level level_;
  std::mutex mutex_;  // one line at a time
};
