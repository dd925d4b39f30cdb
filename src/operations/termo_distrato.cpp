#include "operations/termo_distrato.h"

#include <vector>

#include "contracts/statement_methods.h"
#include "operations/screen_steps.h"
#include "operations/statement_document.h"
#include "ui/ui_service.h"
#include "workspace/frm_distrato.h"
#include "workspace/statement_command.h"

namespace operations {

namespace {

struct Key {
  std::string seq, client, address;
};

// The parties the document covers: for a party of a total rescission every
// party of the list in it, in the list's order; otherwise the party alone.
// Read from the list's packet, so the list does not scroll.
std::vector<Key> Covered(TfrmDistrato& f) {
  const Key current{Party(f, "NRSEQORCAEVE"), Party(f, "CDCLIENTE"), Party(f, "NRENDCLIORCEVE")};
  if (!workspace::InTotalStatement(Party(f, "IDTPDISTRATOREALI"), Party(f, "IDCONTPROCESDIST"),
                                   Party(f, "IDORIGEMINCLUSAO")))
    return {current};
  const Variant data = f.cdsContratante.Data();
  const DataPacket& list = data.asPacket();
  std::vector<Key> keys;
  for (std::size_t r = 0; r < list.rowCount(); ++r) {
    auto text = [&](const char* field) { return list.at(r, field).asText(); };
    if (workspace::InTotalStatement(text("IDTPDISTRATOREALI"), text("IDCONTPROCESDIST"), text("IDORIGEMINCLUSAO")))
      keys.push_back({text("NRSEQORCAEVE"), text("CDCLIENTE"), text("NRENDCLIORCEVE")});
  }
  return keys.empty() ? std::vector<Key>{current} : keys;
}

}  // namespace

void mnuTermoDistratoClick(TfrmDistrato& f) {
  std::vector<contracts::TermoDistrato> statements;
  Ui().SetCursor(crHourGlass);
  try {
    for (const Key& k : Covered(f))
      statements.push_back(contracts::GetTermoDistrato(f.netDistrato, {.filial = f.medCdFilial.Text(),
                                                                       .orcamento = f.edtOrcamento.Text(),
                                                                       .NRSEQORCAEVE = k.seq,
                                                                       .CDCLIENTE = k.client,
                                                                       .NRENDCLIORCEVE = k.address}));
  } catch (...) {
    Ui().SetCursor(crDefault);
    throw;
  }
  Ui().SetCursor(crDefault);
  Ui().ShowDocument(StatementDocument(statements));
}

}  // namespace operations
