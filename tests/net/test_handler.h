#pragma once
// The remote methods the network tests call.

#include <chrono>
#include <stdexcept>
#include <thread>

#include "net/refusal.h"
#include "data/exceptions.h"
#include "net/rpc_server.h"

inline Variant TestHandler(const std::string& method, std::vector<Variant>& args) {
  if (method == "Echo") return args.empty() ? Variant() : args[0];
  if (method == "Count") return Variant(static_cast<std::int64_t>(args.size()));
  if (method == "Upper") {
    std::string s = args.at(0).asText();  // throws on a packet or array
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
  }
  if (method == "Repeat") return std::string(static_cast<std::size_t>(args.at(0).asInt()), 'x');
  if (method == "MarkSecond") {  // writes a by-reference argument
    args.at(1) = Variant("S");
    return Variant(true);
  }
  if (method == "Refuse") throw Refusal("N_PARAM_TPCTREC|V");
  if (method == "FailInTheDatabase") throw std::runtime_error("Erro no banco de dados: no such table: CONTRATANTE");
  if (method == "Sleep") {
    std::this_thread::sleep_for(std::chrono::milliseconds(args.at(0).asInt()));
    return "acordei";
  }
  if (method == "Crash") throw 42;  // not a std::exception
  throw Refusal("Método desconhecido: " + method);
}
