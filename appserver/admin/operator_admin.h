#pragma once
// Registering operators and setting their passwords without SQL, for the
// server's command line. Each call opens the database (applying pending
// migrations), changes it in one transaction and throws
// std::runtime_error with a message for the user on a refusal.

#include <cstddef>
#include <string>

// Registers a new operator with role SUPERVISOR, GERENTE or OPERADOR and no
// password: it cannot log in until SetOperatorPassword gives it one.
void AddOperator(const std::string& dbPath, const std::string& code, const std::string& name, const std::string& role);

// The fewest characters a new password may have, unless the command line
// says otherwise (--min-password-length).
inline constexpr std::size_t kMinPasswordLength = 8;

// Stores the digest of `password` (any letter case logs in) for a
// registered operator; a password shorter than `minLength` characters is
// refused.
void SetOperatorPassword(const std::string& dbPath, const std::string& code, const std::string& password,
                         std::size_t minLength = kMinPasswordLength);
