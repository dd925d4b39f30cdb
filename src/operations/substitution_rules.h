#pragma once
// The substitution's decisions, over plain values.

#include <string>
#include <vector>

namespace operations {

// A party's quota codes and what the server said of its other contracts.
struct SubstitutionParty {
  std::string IDCONTRESPCOTAORCA;  // "S" responsible for the budget's quotas
  std::string IDTRANSFCOTAREALI;   // "S" its quotas were transferred
  bool otherContracts = false;     // cdsNewContrRepete not empty
  std::string CDCLICONTSUBORE;     // the substitute its row records, if any
};

// The quota holder alone: its quotas, guests and open value go to the
// substitute through the quota transfer.
bool IsQuotaCase(const SubstitutionParty& p);

// Whether the user must name the substitute in the list (else the
// substitution runs at once). A quota holder whose row records no substitute
// names one too: the transfer needs a destination, and without one the
// server could only refuse it.
bool SubstituteToBeNamed(const SubstitutionParty& p);

// The number handed to Ajusta_Inscricao for person type `type`: a person's
// trimmed, a company's as typed, and an unknown type's marked with "C".
std::string RegistrationToAdjust(const std::string& type, const std::string& typed);

// What a party has open: the sum of VRATUAREC over the receivables whose
// IDSTATREC is "A", rounded to the cent.
struct Receivable {
  std::string IDSTATREC;
  double VRATUAREC = 0;
};
double OpenReceivablesSum(const std::vector<Receivable>& receivables);

}  // namespace operations
