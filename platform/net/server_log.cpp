#include "server_log.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#include "net/printable_text.h"

namespace {

const char* LevelName(ServerLog::Level level) {
  switch (level) {
    case ServerLog::Level::Error: return "ERRO";
    case ServerLog::Level::Warning: return "AVISO";
    case ServerLog::Level::Info: return "INFO";
    case ServerLog::Level::Debug: return "DEPURAÇÃO";
  }
  return "?";
}

std::string UtcNow() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", utc.tm_year + 1900, utc.tm_mon + 1,
                utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, static_cast<int>(millis));
  return text;
}

}  // namespace

void ServerLog::write(Level level, const std::string& line) {
  if (!enabled(level)) return;
  // Whatever a caller let through, one event stays one line of valid text.
  const std::string text = UtcNow() + " " + LevelName(level) + " " + PrintableLine(line) + "\n";
  std::lock_guard lock(mutex_);
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
}

std::optional<ServerLog::Level> ServerLog::ParseLevel(const std::string& name) {
  if (name == "error") return Level::Error;
  if (name == "warning") return Level::Warning;
  if (name == "info") return Level::Info;
  if (name == "debug") return Level::Debug;
  return std::nullopt;
}
