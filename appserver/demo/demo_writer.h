#pragma once
// Inserts demo and benchmark rows with prepared statements reused row after
// row. Callers run it inside one transaction.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "storage/statement.h"

class Database;

struct ClientRow {
  std::string code, type, registration, tradeName, corporateName;
};

struct BudgetRow {
  std::string branch, budget, seq;
  std::optional<std::string> parentSeq;
  std::string situation = "3";
  std::string fixedCost = "S";
  std::string client, seller, company;
  double budgetDate = 0, eventDate = 0;
  int guests = 0, quotas = 0;
};

inline BudgetRow BudgetOf(std::string branch, std::string budget, std::string seq, std::string client,
                          std::string seller, std::string company, double budgetDate, double eventDate,
                          int guests = 0, int quotas = 0) {
  BudgetRow r;
  r.branch = std::move(branch);
  r.budget = std::move(budget);
  r.seq = std::move(seq);
  r.client = std::move(client);
  r.seller = std::move(seller);
  r.company = std::move(company);
  r.budgetDate = budgetDate;
  r.eventDate = eventDate;
  r.guests = guests;
  r.quotas = quotas;
  return r;
}

struct PartyRow {
  std::string branch, budget, seq, client, address = "1", contact;
  double value = 0;
  std::string situation = "CNTGERADA", process = "N", origin = "ORCAMENTO";
  std::optional<std::string> substitute, rescissionType;
  std::string quotaHolder = "N", quotasTransferred = "N";
  int guests = 0, quotas = 0;
};

// A party of the demo's main branch with ten guests and one quota, as most
// demo parties are: launched with its receivables generated ("CNTGERADA").
PartyRow PartyOf(std::string budget, std::string seq, std::string client, double value);

struct ReceivableRow {
  std::string branch, launch, installment = "01", dueSeq, company, budget, seq, client, address = "1";
  double originalDue = 0, currentDue = 0, value = 0;
  std::string status = "A";
  std::optional<std::string> renegotiation;
  std::string deletedRealSettlement = "N", writtenOff = "N", origin = "F", boleto = "A";
  std::optional<std::string> bankAccount;
};

struct PayableRow {
  std::string branch, launch, installment = "01", dueSeq, company, budget, seq, client, address = "1";
  double originalDue = 0, currentDue = 0, value = 0;
  std::string status = "A", writtenOff = "N", origin = "I", boleto = "A";
};

// A party's receivables: `count` monthly installments of `each` from the day
// y/m/d, the status of each given in order ("A" open for the rest); a settled
// one has its bank slip issued. `tweak` adjusts an installment by index.
struct Installments {
  std::string launch;
  int count;
  int y, m, d;
  double each;
  std::vector<std::string> statuses;
  std::function<void(int, ReceivableRow&)> tweak = nullptr;
};

// The statuses of `settled` installments paid and the rest open.
std::vector<std::string> Settled(int settled);

class DemoWriter {
 public:
  explicit DemoWriter(Database& db);
  void client(const ClientRow& r);
  void budget(const BudgetRow& r);
  void party(const PartyRow& r);
  // The party and its receivables of `plan`.
  void party(const PartyRow& r, const std::string& company, const Installments& plan);
  // A settled receivable ("B") also gets its settlement row.
  void receivable(const ReceivableRow& r);
  void payable(const PayableRow& r);
  // The party's receivables of `plan`, kept in the bank account of `company`.
  void receivables(const PartyRow& p, const std::string& company, const Installments& plan);

 private:
  Statement client_, budget_, party_, receivable_, settlement_, payable_;
};
