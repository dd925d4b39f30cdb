#pragma once
// The launch numbers (NRLANCTONF) of a branch's accounts: one series shared
// by its receivables and payables, ten digits zero-filled. Whoever generates
// an account takes the next number of the same series, so a receivable and a
// payable never share one.

#include <cstdint>
#include <string>

class Database;

// The highest launch number the branch's receivables and payables hold; 0
// when there is none. Runs on the caller's transaction.
std::int64_t LastLaunch(Database& db, const std::string& branch);

// `number` as the accounts store it; refuses one beyond ten digits.
std::string LaunchText(std::int64_t number, const std::string& branch);
