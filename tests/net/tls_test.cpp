// TLS on the wire: a client that trusts the server's certificate talks to it
// as over plain TCP; a plain client, a client that does not trust the
// certificate, and a TLS client of a plain server are refused with a clear
// error, and the server keeps serving.

#include <gtest/gtest.h>

#include "data/exceptions.h"
#include "net/net_connection.h"
#include "net_fixtures.h"
#include "test_certificate.h"
#include "test_handler.h"

namespace {

class TlsTest : public ::testing::Test {
 protected:
  static RpcServerOptions TlsOptions(const dx_test::TestCertificate& c) {
    RpcServerOptions o;
    o.tlsCertFile = c.cert();
    o.tlsKeyFile = c.key();
    o.greetingTimeoutMs = 2000;
    return o;
  }
  void Point(TNetConnection& c, std::uint16_t port) {
    c.SetHost("127.0.0.1");
    c.SetPort(port);
    c.SetConnectTimeoutMs(5000);
    c.SetTimeoutMs(5000);
  }
  std::string ConnectError(TNetConnection& c) {
    try {
      c.Open();
    } catch (const ENetError& e) {
      return e.what();
    }
    return "(conectou)";
  }
  dx_test::TestCertificate certificate;
};

TEST_F(TlsTest, ATrustingClientCallsAsOverPlainTcp) {
  ServedRpc rpc(TestHandler, TlsOptions(certificate));
  TNetConnection c;
  Point(c, rpc.port());
  c.SetTls(true);
  c.SetCaFile(certificate.cert());
  EXPECT_EQ(c.AppServer("Upper", {"abc"})[1].asText(), "ABC");
  // A large answer crosses many TLS records.
  const std::string big(3 * 1024 * 1024, 'x');
  EXPECT_EQ(c.AppServer("Echo", {big})[1].asText().size(), big.size());
  // An idle connection stays usable: nothing the server sent spoils it.
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(c.AppServer("Upper", {"de novo"})[1].asText(), "DE NOVO");
}

TEST_F(TlsTest, PlainAndUntrustingClientsAreRefusedAndTheServerGoesOn) {
  ServedRpc rpc(TestHandler, TlsOptions(certificate));
  TNetConnection plain;
  Point(plain, rpc.port());
  const std::string plainError = ConnectError(plain);
  EXPECT_NE(plainError.find("Não foi possível conectar"), std::string::npos) << plainError;
  EXPECT_FALSE(plain.Connected());

  TNetConnection untrusting;  // the system's CAs do not know a self-signed certificate
  Point(untrusting, rpc.port());
  untrusting.SetTls(true);
  const std::string untrustedError = ConnectError(untrusting);
  EXPECT_NE(untrustedError.find("certificado do servidor não aceito"), std::string::npos) << untrustedError;

  TNetConnection good;
  Point(good, rpc.port());
  good.SetTls(true);
  good.SetCaFile(certificate.cert());
  EXPECT_EQ(good.AppServer("Upper", {"ok"})[1].asText(), "OK");
}

TEST_F(TlsTest, ATlsClientOfAPlainServerIsToldSo) {
  ServedRpc rpc(TestHandler);
  TNetConnection c;
  Point(c, rpc.port());
  c.SetTls(true);
  c.SetCaFile(certificate.cert());
  EXPECT_NE(ConnectError(c).find("TLS"), std::string::npos);
}

TEST_F(TlsTest, AServerWithoutUsableKeyDoesNotStart) {
  RpcServerOptions o = TlsOptions(certificate);
  o.tlsKeyFile = certificate.cert() + ".nada";
  EXPECT_THROW(RpcServer(TestHandler, o), std::runtime_error);
}

}  // namespace
