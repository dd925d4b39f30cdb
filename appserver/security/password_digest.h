#pragma once
// Operators' passwords are kept only as libsodium crypto_pwhash_str digests
// (Argon2id, salt and cost inside the text). The client upper-cases what the
// operator types before comparing, so the digest is of the upper-cased
// password and a password is accepted in any case.

#include <string>
#include <string_view>

std::string PasswordDigest(std::string_view password);
bool PasswordMatches(std::string_view digest, std::string_view typed);
