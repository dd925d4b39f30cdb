#include "session/caller_session.h"

std::string CallerSession::operatorCode() const {
  std::lock_guard<std::mutex> lock(mu_);
  return operator_;
}

std::string CallerSession::role() const {
  std::lock_guard<std::mutex> lock(mu_);
  return role_;
}

void CallerSession::logIn(std::string operatorCode, std::string role) {
  std::lock_guard<std::mutex> lock(mu_);
  operator_ = std::move(operatorCode);
  role_ = std::move(role);
  // An approval belongs to the operator who was logged in when it was given.
  approver_.clear();
}

void CallerSession::grantApproval(std::string approver, Clock::time_point when) {
  std::lock_guard<std::mutex> lock(mu_);
  approver_ = std::move(approver);
  approvedAt_ = when;
}

std::optional<std::string> CallerSession::takeApproval(Clock::time_point now, Clock::duration window) {
  std::lock_guard<std::mutex> lock(mu_);
  if (approver_.empty()) return std::nullopt;
  std::string approver = std::move(approver_);
  approver_.clear();
  if (now < approvedAt_ || now - approvedAt_ > window) return std::nullopt;
  return approver;
}

void CallerSession::rememberReads(const std::string& scope, StampTable stamps) {
  // A connection works on a few budgets at a time; beyond that, what it read
  // of others is forgotten (it must read them again before changing them),
  // so a long session does not grow without end.
  constexpr std::size_t kMaxScopes = 32;
  std::lock_guard<std::mutex> lock(mu_);
  reads_[scope] = std::move(stamps);
  for (auto it = reads_.begin(); reads_.size() > kMaxScopes;) {
    if (it->first == scope) ++it;
    else it = reads_.erase(it);
  }
}

void CallerSession::rememberRead(const std::string& scope, const std::string& key, std::string_view stamp) {
  std::lock_guard<std::mutex> lock(mu_);
  reads_[scope].set(key, stamp);
}

std::optional<std::string> CallerSession::lastRead(const std::string& scope, const std::string& key) const {
  std::lock_guard<std::mutex> lock(mu_);
  auto s = reads_.find(scope);
  if (s == reads_.end()) return std::nullopt;
  const std::optional<std::string_view> stamp = s->second.find(key);
  if (!stamp) return std::nullopt;
  return std::string(*stamp);
}

