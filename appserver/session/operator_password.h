#pragma once
// How the server stores and checks an operator's password (OPERADOR.CDSENHOPER).
// The stored value is libsodium's Argon2id string ("$argon2id$v=19$m=…"),
// salt and cost included, of the upper-cased password: the password dialog
// upper-cases what is typed, so letter case never matters. Values written by
// older servers (the 20-character digest) are still recognised, so an
// operator can log in and be given the full form. The stored value never
// leaves the server. Safe from several threads.

#include <string>
#include <string_view>

// The value to store for `plain`; a fresh salt each call.
std::string HashOperatorPassword(std::string_view plain);

// True when `typed` is the password `stored` was made from. Slow on purpose
// (Argon2id) and constant-time in the comparison; an empty or malformed
// stored value matches nothing.
bool OperatorPasswordMatches(std::string_view typed, std::string_view stored);

// True when `stored` is in the older short form and should be rewritten
// with HashOperatorPassword at the next successful check.
bool OperatorPasswordNeedsRehash(std::string_view stored);
