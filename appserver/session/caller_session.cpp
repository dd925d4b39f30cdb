#include "session/caller_session.h"

namespace {
thread_local CallerSession* tCurrent = nullptr;
}

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

CallerSession* CurrentCaller() { return tCurrent; }

CallerScope::CallerScope(CallerSession* session) : previous_(tCurrent) { tCurrent = session; }

CallerScope::~CallerScope() { tCurrent = previous_; }
