#include "security/password_digest.h"

#include <sodium.h>

#include <cctype>
#include <stdexcept>

namespace {

std::string upper(std::string_view text) {
  std::string s(text);
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

void ensureSodium() {
  if (sodium_init() < 0) throw std::runtime_error("Não foi possível iniciar a biblioteca de criptografia.");
}

}  // namespace

std::string PasswordDigest(std::string_view password) {
  ensureSodium();
  std::string typed = upper(password);
  char out[crypto_pwhash_STRBYTES];
  if (crypto_pwhash_str(out, typed.data(), typed.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                        crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
    throw std::runtime_error("Memória insuficiente para cifrar a senha.");
  return out;
}

bool PasswordMatches(std::string_view digest, std::string_view typed) {
  ensureSodium();
  std::string stored(digest);
  std::string t = upper(typed);
  return crypto_pwhash_str_verify(stored.c_str(), t.data(), t.size()) == 0;
}
