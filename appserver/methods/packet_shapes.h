#pragma once
// The field lists of the packets the workspace loads. The client's datasets
// refuse a packet lacking a declared field, so every method builds its packet
// from these lists and nothing else.

#include <vector>

#include "data/packet.h"

using PacketShape = std::vector<FieldDef>;

const PacketShape& BudgetListShape();     // GetPesqOrca, GetVdOrca
const PacketShape& CompanyShape();        // GetEmpresaRelac
const PacketShape& BudgetDetailShape();   // DadosComp, element 0
const PacketShape& BankAccountShape();    // GetContCorr
const PacketShape& PartyShape();          // GetContratante
const PacketShape& ReceivableShape();     // GetContas, element 0
const PacketShape& PayableShape();        // GetContas, element 2
const PacketShape& ContractorValuesShape();
const PacketShape& OperatorShape();       // GetOperador  // ConfValTodosCont, the contractor-values working set
