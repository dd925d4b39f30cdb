#pragma once
// A throwaway TLS certificate for tests: a self-signed P-256 certificate for
// 127.0.0.1 and localhost, valid two days, made with the `openssl` command in
// a directory of its own and removed with it. Being self-signed, the
// certificate is also the CA a client trusts it through (`--ca`).

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>
#include <string>

namespace dx_test {

class TestCertificate {
 public:
  TestCertificate() {
    std::string pattern = (std::filesystem::temp_directory_path() / "dxr10900-tls-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    dir_ = pattern;
    const std::string command = "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2"
                                " -subj /CN=localhost -addext subjectAltName=IP:127.0.0.1,DNS:localhost"
                                " -keyout '" + key() + "' -out '" + cert() + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0)
      throw std::runtime_error("openssl could not make a test certificate (scripts/install-deps installs it)");
  }
  ~TestCertificate() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  TestCertificate(const TestCertificate&) = delete;
  TestCertificate& operator=(const TestCertificate&) = delete;

  std::string cert() const { return (dir_ / "cert.pem").string(); }
  std::string key() const { return (dir_ / "key.pem").string(); }

 private:
  std::filesystem::path dir_;
};

}  // namespace dx_test
