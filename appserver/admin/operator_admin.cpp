#include "admin/operator_admin.h"

#include <stdexcept>

#include "methods/key_codes.h"
#include "methods/method_support.h"
#include "session/operator_password.h"
#include "storage/database.h"
#include "storage/statement.h"
#include "storage/storage.h"

namespace {

constexpr std::size_t kCodeWidth = 12;  // CDOPERADOR as the screens type it
constexpr std::size_t kNameWidth = 40;  // NMOPERADOR as the packets carry it

std::string OperatorCode(const std::string& typed) {
  const std::string code = KeyCode(typed, 0);
  if (code.empty()) throw std::runtime_error("Informe o código do operador.");
  if (code.size() > kCodeWidth)
    throw std::runtime_error("Código de operador \"" + code + "\" longo demais (até 12 caracteres).");
  return code;
}

// Characters, not bytes: an accented letter counts once.
std::size_t Characters(const std::string& text) {
  std::size_t n = 0;
  for (unsigned char c : text) n += (c & 0xc0) != 0x80;
  return n;
}

bool Exists(Database& db, const std::string& code) {
  Statement st = db.prepare("SELECT 1 FROM OPERADOR WHERE CDOPERADOR = ?1");
  st.bind(1, code);
  return st.step();
}

}  // namespace

void AddOperator(const std::string& dbPath, const std::string& typedCode, const std::string& name,
                 const std::string& role) {
  const std::string code = OperatorCode(typedCode);
  if (name.empty()) throw std::runtime_error("Informe o nome do operador com --name.");
  if (name.size() > kNameWidth) throw std::runtime_error("Nome do operador longo demais (até 40 caracteres).");
  if (role != "SUPERVISOR" && role != "GERENTE" && role != "OPERADOR")
    throw std::runtime_error("Papel inválido: \"" + role + "\" (SUPERVISOR, GERENTE ou OPERADOR).");
  Storage storage(dbPath);
  InTransaction(storage, true, [&](Database& db) {
    if (Exists(db, code)) throw std::runtime_error("Operador " + code + " já cadastrado.");
    Statement st = db.prepare(
        "INSERT INTO OPERADOR (CDOPERADOR, NMOPERADOR, CDVENDEDOR, CDSENHOPER, IDPAPEL) VALUES (?1, ?2, NULL, '', ?3)");
    st.bindAll(code, name, role).run();
    return Variant();
  });
}

void SetOperatorPassword(const std::string& dbPath, const std::string& typedCode, const std::string& password,
                         std::size_t minLength) {
  const std::string code = OperatorCode(typedCode);
  if (password.empty()) throw std::runtime_error("A senha não pode ser vazia.");
  if (Characters(password) < minLength)
    throw std::runtime_error("A senha deve ter pelo menos " + std::to_string(minLength) + " caracteres.");
  const std::string digest = HashOperatorPassword(password);
  Storage storage(dbPath);
  InTransaction(storage, true, [&](Database& db) {
    if (!Exists(db, code)) throw std::runtime_error("Operador " + code + " não cadastrado.");
    Statement st = db.prepare("UPDATE OPERADOR SET CDSENHOPER = ?1 WHERE CDOPERADOR = ?2");
    st.bindAll(digest, code).run();
    return Variant();
  });
}
