#pragma once
// Unit Criptografa: operators' passwords, which are stored only as digests.
//
// The digest fits the 20 characters of CDSENHOPER: 20 characters of URL-safe
// base64 (A-Z a-z 0-9 - _) holding 15 bytes, a random 6-byte salt followed by
// the first 9 bytes of Argon2id (libsodium crypto_pwhash, interactive limits)
// of the password under that salt. Letter case of the password does not
// matter: both routines upper-case it first (ASCII and the accented Latin
// letters), as the password dialog does with what is typed.

#include <string>
#include <string_view>

// The digest to store for a password; a fresh salt each call.
std::string DigestSenha(std::string_view plain);

// True when the typed password matches the stored digest; the comparison
// takes the same time wherever the digests differ. An empty or malformed
// stored value matches nothing: an operator without a digest cannot confirm.
bool SenhaOK(std::string_view typed, std::string_view stored);

// The password as both routines digest it.
std::string NormalizaSenha(std::string_view plain);
