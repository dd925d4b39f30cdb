#include "lib/criptografa.h"

#include <sodium.h>

#include <algorithm>
#include <array>
#include <stdexcept>

namespace {

constexpr std::size_t kSaltBytes = 6;
constexpr std::size_t kHashBytes = 9;
constexpr std::size_t kDigestBytes = kSaltBytes + kHashBytes;
constexpr std::size_t kDigestChars = 20;  // base64 of 15 bytes, no padding
constexpr int kBase64 = sodium_base64_VARIANT_URLSAFE_NO_PADDING;

using Salt = std::array<unsigned char, kSaltBytes>;
using Hash = std::array<unsigned char, kHashBytes>;

void EnsureSodium() {
  static const bool ready = sodium_init() >= 0;
  if (!ready) throw std::runtime_error("libsodium não pôde ser iniciada.");
}

// crypto_pwhash wants 16 bytes of salt; the stored 6 are widened under a
// fixed label so the same stored salt always gives the same hash.
Hash HashUnder(const Salt& salt, std::string_view password) {
  static constexpr unsigned char kLabel[] = "DXR10900 CDSENHOPER v1";
  std::array<unsigned char, crypto_pwhash_SALTBYTES> wideSalt{};
  crypto_generichash(wideSalt.data(), wideSalt.size(), salt.data(), salt.size(), kLabel, sizeof kLabel - 1);

  std::array<unsigned char, crypto_pwhash_BYTES_MIN> full{};
  if (crypto_pwhash(full.data(), full.size(), password.data(), password.size(), wideSalt.data(),
                    crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE,
                    crypto_pwhash_ALG_ARGON2ID13) != 0)
    throw std::runtime_error("Memória insuficiente para verificar a senha.");
  Hash hash{};
  std::copy_n(full.begin(), hash.size(), hash.begin());
  sodium_memzero(full.data(), full.size());
  return hash;
}

}  // namespace

std::string NormalizaSenha(std::string_view plain) {
  std::string out(plain);
  for (std::size_t i = 0; i < out.size(); ++i) {
    auto& c = reinterpret_cast<unsigned char&>(out[i]);
    if (c >= 'a' && c <= 'z') {
      c = static_cast<unsigned char>(c - 'a' + 'A');
    } else if (c == 0xC3 && i + 1 < out.size()) {
      // UTF-8 à..þ (except ÷) are C3 A0..BE; their capitals are C3 80..9E.
      auto& next = reinterpret_cast<unsigned char&>(out[i + 1]);
      if (next >= 0xA0 && next <= 0xBE && next != 0xB7) next = static_cast<unsigned char>(next - 0x20);
      ++i;
    }
  }
  return out;
}

std::string DigestSenha(std::string_view plain) {
  EnsureSodium();
  Salt salt{};
  randombytes_buf(salt.data(), salt.size());
  const Hash hash = HashUnder(salt, NormalizaSenha(plain));

  std::array<unsigned char, kDigestBytes> digest{};
  std::copy(salt.begin(), salt.end(), digest.begin());
  std::copy(hash.begin(), hash.end(), digest.begin() + kSaltBytes);
  char text[kDigestChars + 1];
  sodium_bin2base64(text, sizeof text, digest.data(), digest.size(), kBase64);
  return std::string(text, kDigestChars);
}

bool SenhaOK(std::string_view typed, std::string_view stored) {
  // A fixed-width column may pad the digest; blanks are never part of it.
  while (!stored.empty() && stored.back() == ' ') stored.remove_suffix(1);
  if (stored.size() != kDigestChars) return false;
  EnsureSodium();

  std::array<unsigned char, kDigestBytes> digest{};
  std::size_t length = 0;
  const char* end = nullptr;
  if (sodium_base642bin(digest.data(), digest.size(), stored.data(), stored.size(), nullptr, &length, &end,
                        kBase64) != 0 ||
      length != kDigestBytes || end != stored.data() + stored.size())
    return false;

  Salt salt{};
  std::copy_n(digest.begin(), kSaltBytes, salt.begin());
  const Hash expected = HashUnder(salt, NormalizaSenha(typed));
  return sodium_memcmp(expected.data(), digest.data() + kSaltBytes, kHashBytes) == 0;
}
