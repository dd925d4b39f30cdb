// Every client of the demo: the parties are people; a budget's client is its
// graduation committee or couple; a few people and companies stand free to be
// picked as substitutes.

#include "demo/demo_database.h"
#include "demo/demo_writer.h"
#include "demo/registration.h"

namespace {

struct Person {
  const char* code;
  const char* cpfBase;
  const char* name;
};

struct Company {
  const char* code;
  const char* cnpjBase;
  const char* tradeName;
  const char* corporateName;
};

const Person kPeople[] = {
    // The parties of the workspace budgets.
    {"1001", "123456789", "Ana Paula Ferreira"},      {"1002", "234567891", "Bruno Henrique Costa"},
    {"1003", "345678912", "Carla Souza Martins"},     {"1004", "456789123", "Daniel Oliveira Ramos"},
    {"1005", "567891234", "Eduarda Lima Santos"},     {"1006", "678912345", "Fernando Augusto Brum"},
    {"1007", "789123456", "Gabriel Almeida Rocha"},   {"1008", "891234567", "Helena Carvalho Dias"},
    {"1009", "912345678", "Igor Nascimento Pires"},   {"1010", "102938475", "Juliana Barbosa Teixeira"},
    {"1011", "564738291", "Leonardo Moreira Cunha"},  {"1012", "019283746", "Mariana Gomes Freitas"},
    {"1013", "837465920", "Natália Ribeiro Campos"},  {"1014", "246813579", "Otávio Silveira Prestes"},
    {"1015", "135792468", "Patrícia Fagundes Link"},  {"1016", "975318642", "Rafael Kern Zimmermann"},
    {"1017", "864209753", "Fernanda Weber Schultz"},  {"1018", "314159265", "Tiago Becker Lemos"},
    {"1019", "271828182", "Vanessa Tavares Nunes"},   {"1020", "161803398", "William Prado Machado"},
    {"1021", "141421356", "Yasmin Duarte Farias"},    {"1022", "173205080", "Samuel Klein Rosa"},
    {"1023", "223344556", "Lucas Fontoura Dias"},     {"1024", "334455667", "Marina Castilhos Reis"},
    {"1025", "445566778", "Pedro Lamb Vargas"},       {"1026", "556677889", "Sofia Gehlen Moraes"},
    {"1027", "667788990", "Thiago Brust Oliveira"},   {"1028", "778899001", "Valentina Rech Souza"},
    {"1029", "889900112", "Bianca Toledo Ritter"},    {"1030", "990011223", "Caio Menezes Haas"},
    {"1031", "102030405", "Yara Kessler Moura"},
};

const Company kCommittees[] = {
    {"2001", "908070600001", "Formatura Medicina UFRGS 2026", "Comissão de Formatura Medicina UFRGS 2026"},
    {"2002", "807060500001", "Casamento Fernanda e Rafael", "Fernanda e Rafael Cerimonial Ltda"},
    {"2003", "706050400001", "Formatura Direito PUCRS 2026", "Comissão de Formatura Direito PUCRS 2026"},
    {"2004", "605040300001", "Formatura Eng. Civil UFSM 2026", "Comissão de Formatura Engenharia Civil UFSM"},
    {"2005", "504030200077", "Formatura Odontologia UFCSPA 2026", "Comissão de Formatura Odontologia UFCSPA 2026"},
    {"2006", "403020100055", "Formatura Arquitetura UFRGS 2026", "Comissão de Formatura Arquitetura UFRGS 2026"},
    {"2007", "302010900033", "Casamento Bianca e Caio", "Bianca e Caio Eventos Ltda"},
};

// The substitution budget: people free to substitute, its parties.
const Person kSubstitutionPeople[] = {
    {"3001", "381726354", "Lucas Pereira Antunes"},  {"3002", "472635189", "Beatriz Moura Camargo"},
    {"3003", "563728194", "Marcelo Dutra Vieira"},
};
const Company kSubstitutionCompanies[] = {
    {"3101", "514131210001", "Eventos Sul Produções", "Eventos Sul Produções Ltda"},
    {"3102", "403020100001", "Doce Festa Buffet", "Doce Festa Buffet e Eventos Ltda"},
};
const Person kSubstitutionParties[] = {
    {"3201", "654738291", "Renata Schmitt Borges"},  {"3202", "745382916", "Gustavo Ritter Paim"},
    {"3203", "736291845", "Camila Fontoura Reis"},   {"3204", "927164538", "Paulo Henrique Staub"},
};
const Company kSubstitutionCommittee[] = {
    {"2105", "302010900001", "Formatura Odontologia UFRGS 2026", "Comissão de Formatura Odontologia UFRGS 2026"},
};

// The undo budgets. Their committees' names sort after the demo's earlier
// clients, so the lists of clients offered as substitutes keep their order.
const Person kUndoPeople[] = {
    {"3301", "418273645", "Rodrigo Bastos Lima"},    {"3302", "529384756", "Simone Azevedo Kunz"},
    {"3303", "630495867", "Tatiana Moraes Lenz"},    {"3304", "741506978", "Ulisses Carvalho Pinto"},
    {"3305", "852617089", "Vitória Sander Paz"},     {"3306", "963728190", "Wagner Hoff Rocha"},
    {"3307", "174839201", "Xavier Mello Dorneles"},  {"3308", "285940312", "Zilda Prates Cruz"},
};
const Company kUndoCommittees[] = {
    {"2301", "201918170001", "Turma de Psicologia PUCRS 2026", "Comissão de Formatura Psicologia PUCRS 2026"},
    {"2302", "191817160001", "Turma de Nutrição UFCSPA 2026", "Comissão de Formatura Nutrição UFCSPA 2026"},
    {"2303", "181716150001", "Noivos Vitória e Wagner", "Vitória e Wagner Eventos Ltda"},
    {"2304", "171615140001", "Turma de Farmácia UFRGS 2026", "Comissão de Formatura Farmácia UFRGS 2026"},
};

template <std::size_t N>
void Write(DemoWriter& out, const Person (&people)[N]) {
  for (const Person& p : people) out.client({p.code, "F", MakeCpf(p.cpfBase), p.name, p.name});
}

template <std::size_t N>
void Write(DemoWriter& out, const Company (&companies)[N]) {
  for (const Company& c : companies) out.client({c.code, "J", MakeCnpj(c.cnpjBase), c.tradeName, c.corporateName});
}

}  // namespace

void WriteDemoClients(DemoWriter& out) {
  Write(out, kPeople);
  Write(out, kCommittees);
  Write(out, kSubstitutionPeople);
  Write(out, kSubstitutionCompanies);
  Write(out, kSubstitutionParties);
  Write(out, kSubstitutionCommittee);
  Write(out, kUndoPeople);
  Write(out, kUndoCommittees);
}
