#include "session/failed_attempts.h"

FailedAttempts::Clock::duration FailedAttempts::lockedFor(const std::string& key, Clock::time_point now) {
  std::lock_guard<std::mutex> lock(mu_);
  auto it = entries_.find(key);
  if (it == entries_.end() || now >= it->second.lockedUntil) return Clock::duration::zero();
  return it->second.lockedUntil - now;
}

bool FailedAttempts::recordFailure(const std::string& key, Clock::time_point now) {
  std::lock_guard<std::mutex> lock(mu_);
  forgetStale(now);
  Entry& e = entries_[key];
  if (e.failures == 0 || now - e.firstFailure > window_) {
    e.failures = 0;
    e.firstFailure = now;
  }
  if (++e.failures < maxFailures_) return false;
  e.lockedUntil = now + lockout_;
  e.failures = 0;  // a new window begins after the lockout
  return true;
}

void FailedAttempts::recordSuccess(const std::string& key) {
  std::lock_guard<std::mutex> lock(mu_);
  entries_.erase(key);
}

void FailedAttempts::forgetStale(Clock::time_point now) {
  // Keeps the map as small as the keys that failed lately, whatever an
  // attacker sends as operator codes.
  for (auto it = entries_.begin(); it != entries_.end();) {
    const Entry& e = it->second;
    const bool windowOver = e.failures == 0 || now - e.firstFailure > window_;
    if (windowOver && now >= e.lockedUntil) it = entries_.erase(it);
    else ++it;
  }
}
