#pragma once
// Small packets shaped like the screens' server results.

#include "data/client_dataset.h"
#include "data/formats.h"

// Parties: sequence, client code, address number, name, amount charged.
inline DataPacket PartiesPacket() {
  DataPacket p({{"NRSEQORCAEVE", FieldType::FixedString, 2},
                {"CDCLIENTE", FieldType::String, 21},
                {"NRENDCLIORCEVE", FieldType::String, 10},
                {"NMFANTCLIE", FieldType::String, 50},
                {"VRRECECONTOREV", FieldType::Float, 0},
                {"DTCADASTRO", FieldType::DateTime, 0},
                {"IDCONTPROCESDIST", FieldType::FixedString, 1},
                {"IDTPDISTRATOREALI", FieldType::String, 10}});
  p.addRow({"01", "C100", "1", "Buffet Alfa", 1500.0, EncodeDate(2026, 3, 1), "S", "TOTAL"});
  p.addRow({"01", "c200", "1", "beta eventos", 250.5, EncodeDate(2025, 12, 24), "N", ""});
  p.addRow({"02", "C100", "2", "Alfa Filial", 1500.0, EncodeDate(2026, 3, 1), "S", "PARCIAL"});
  p.addRow({"02", "C300", "1", "Gama", Variant(), Variant(), "C", "TOTAL"});
  p.addRow({"01", "C400", "1", "Ação Ltda", -10.0, EncodeDate(2024, 7, 9), "S", "TOTAL"});
  return p;
}

inline void DeclareParties(TClientDataSet& ds) {
  ds.AddField("CDCLIENTE", FieldType::String, 21);
  ds.AddField("NRSEQORCAEVE", FieldType::FixedString, 2);
  ds.AddField("NRENDCLIORCEVE", FieldType::String, 10);
  ds.AddField("NMFANTCLIE", FieldType::String, 50);
  ds.AddField("VRRECECONTOREV", FieldType::Float);
  ds.AddField("DTCADASTRO", FieldType::DateTime);
  ds.AddField("IDCONTPROCESDIST", FieldType::FixedString, 1);
  ds.AddField("IDTPDISTRATOREALI", FieldType::String, 10);
}

// Client codes of the visible records in their current order; leaves the last record current.
inline std::string Codes(TClientDataSet& ds) {
  std::string out;
  for (ds.First(); !ds.Eof(); ds.Next()) out += ds.FieldByName("CDCLIENTE").AsString() + " ";
  return out;
}
