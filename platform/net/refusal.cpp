#include "refusal.h"

std::string FaultAnswer(std::uint64_t incident) {
  return "Falha interna no servidor de aplicação (ocorrência " + std::to_string(incident) +
         "); os detalhes estão no registro do servidor. Avise o suporte.";
}
