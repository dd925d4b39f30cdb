#pragma once
// Counts failed password checks per key (an operator code, a client
// address) and locks a key out for a while once it failed too often within
// a window: after `maxFailures` failures inside `window`, the key is refused
// for `lockout`. A success clears the key. Safe from several threads.

#include <chrono>
#include <map>
#include <mutex>
#include <string>

class FailedAttempts {
 public:
  using Clock = std::chrono::steady_clock;

  FailedAttempts(int maxFailures, Clock::duration window, Clock::duration lockout)
      : maxFailures_(maxFailures), window_(window), lockout_(lockout) {}

  // How long `key` must still wait; zero when it may try now.
  Clock::duration lockedFor(const std::string& key, Clock::time_point now);
  // Counts a failure; returns true when this one locked the key out.
  bool recordFailure(const std::string& key, Clock::time_point now);
  // Forgets the key's failures.
  void recordSuccess(const std::string& key);

 private:
  struct Entry {
    int failures = 0;
    Clock::time_point firstFailure{};  // of the current window
    Clock::time_point lockedUntil{};
  };
  void forgetStale(Clock::time_point now);

  const int maxFailures_;
  const Clock::duration window_;
  const Clock::duration lockout_;
  std::mutex mu_;                        // guards entries_
  std::map<std::string, Entry> entries_;  // keys with a recent failure or a lockout
};
