// TLS on the wire: a client that trusts the server's certificate talks to it
// as over plain TCP; a plain client, a client that does not trust the
// certificate, and a TLS client of a plain server are refused with a clear
// error, and the server keeps serving.

#include <gtest/gtest.h>
#include <openssl/ssl.h>

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

// What a TLS 1.2 client offering only `ciphers` gets from the server: whether
// the handshake succeeded and whether the server handed it a session ticket.
struct Tls12Outcome {
  bool connected = false;
  bool ticket = false;
};

Tls12Outcome Tls12Handshake(std::uint16_t port, const char* ciphers) {
  asio::io_context io;
  asio::ip::tcp::socket socket(io);
  socket.connect({asio::ip::make_address("127.0.0.1"), port});
  SSL_CTX* context = SSL_CTX_new(TLS_client_method());
  SSL_CTX_set_min_proto_version(context, TLS1_2_VERSION);
  SSL_CTX_set_max_proto_version(context, TLS1_2_VERSION);
  SSL_CTX_set_cipher_list(context, ciphers);
  SSL* ssl = SSL_new(context);
  SSL_set_fd(ssl, socket.native_handle());
  Tls12Outcome outcome;
  outcome.connected = SSL_connect(ssl) == 1;
  if (outcome.connected) {
    // A ticket, when sent, comes with the handshake's last flight.
    SSL_SESSION* session = SSL_get1_session(ssl);
    outcome.ticket = session && SSL_SESSION_has_ticket(session);
    SSL_SESSION_free(session);
  }
  SSL_free(ssl);
  SSL_CTX_free(context);
  return outcome;
}

TEST_F(TlsTest, Tls12OnlyWithForwardSecrecyAndAuthenticatedEncryptionAndNoTickets) {
  ServedRpc rpc(TestHandler, TlsOptions(certificate));
  const Tls12Outcome aead = Tls12Handshake(rpc.port(), "ECDHE-ECDSA-AES128-GCM-SHA256");
  EXPECT_TRUE(aead.connected);
  EXPECT_FALSE(aead.ticket);
  EXPECT_TRUE(Tls12Handshake(rpc.port(), "ECDHE-ECDSA-CHACHA20-POLY1305").connected);
  for (const char* weak : {"ECDHE-ECDSA-AES128-SHA", "ECDHE-ECDSA-AES256-SHA384", "ECDHE-ECDSA-AES128-SHA256"})
    EXPECT_FALSE(Tls12Handshake(rpc.port(), weak).connected) << weak;
  // Every TLS 1.2 suite the server's list allows, whatever the certificate,
  // has both.
  SSL_CTX* context = SSL_CTX_new(TLS_server_method());
  ASSERT_EQ(SSL_CTX_set_cipher_list(context, RpcServer::TlsCipherList()), 1);
  STACK_OF(SSL_CIPHER)* suites = SSL_CTX_get_ciphers(context);
  int tls12 = 0;
  for (int i = 0; i < sk_SSL_CIPHER_num(suites); ++i) {
    const SSL_CIPHER* c = sk_SSL_CIPHER_value(suites, i);
    if (std::string(SSL_CIPHER_get_version(c)) == "TLSv1.3") continue;
    ++tls12;
    EXPECT_EQ(SSL_CIPHER_get_kx_nid(c), NID_kx_ecdhe) << SSL_CIPHER_get_name(c);
    EXPECT_TRUE(SSL_CIPHER_is_aead(c)) << SSL_CIPHER_get_name(c);
  }
  EXPECT_GT(tls12, 0);
  SSL_CTX_free(context);
}

}  // namespace
