#include "session/operator_password.h"

#include <sodium.h>

#include <stdexcept>

#include "lib/criptografa.h"

namespace {

// Interactive limits: about a tenth of a second and 64 MiB per check.
constexpr unsigned long long kOpsLimit = crypto_pwhash_OPSLIMIT_INTERACTIVE;
constexpr std::size_t kMemLimit = crypto_pwhash_MEMLIMIT_INTERACTIVE;

void EnsureSodium() {
  if (sodium_init() < 0) throw std::runtime_error("Não foi possível iniciar a biblioteca de criptografia.");
}

bool IsFullForm(std::string_view stored) { return stored.rfind("$argon2id$", 0) == 0; }

}  // namespace

std::string HashOperatorPassword(std::string_view plain) {
  EnsureSodium();
  const std::string normalized = NormalizaSenha(plain);
  char out[crypto_pwhash_STRBYTES];
  if (crypto_pwhash_str(out, normalized.data(), normalized.size(), kOpsLimit, kMemLimit) != 0)
    throw std::runtime_error("Memória insuficiente para gravar a senha.");
  return out;
}

bool OperatorPasswordMatches(std::string_view typed, std::string_view stored) {
  if (!IsFullForm(stored)) return SenhaOK(typed, stored);
  if (stored.size() >= crypto_pwhash_STRBYTES) return false;
  EnsureSodium();
  const std::string normalized = NormalizaSenha(typed);
  const std::string text(stored);  // libsodium wants it NUL-terminated
  return crypto_pwhash_str_verify(text.c_str(), normalized.data(), normalized.size()) == 0;
}

bool OperatorPasswordNeedsRehash(std::string_view stored) { return !IsFullForm(stored); }
