#include "methods/packet_shapes.h"

namespace {

FieldDef text(const char* name, int size) { return {name, FieldType::String, size}; }
FieldDef fixed(const char* name, int size) { return {name, FieldType::FixedString, size}; }
FieldDef number(const char* name) { return {name, FieldType::Float, 0}; }
FieldDef date(const char* name) { return {name, FieldType::DateTime, 0}; }

}  // namespace

const PacketShape& BudgetListShape() {
  static const PacketShape s = {text("NRORCAEVENTO", 10), fixed("NRSEQORCAEVE", 2), text("CDFILIAL", 4)};
  return s;
}

const PacketShape& CompanyShape() {
  static const PacketShape s = {text("CDEMPRESA", 2)};
  return s;
}

const PacketShape& BudgetDetailShape() {
  static const PacketShape s = {text("IDUTILCUSTOFIXOORCA", 1), text("CDFILIAL", 4),   text("NRORCAEVENTO", 10),
                                fixed("NRSEQORCAEVE", 2),        text("NMFANTCLIE", 50), text("CDVENDEDOR", 4)};
  return s;
}

const PacketShape& BankAccountShape() {
  static const PacketShape s = {text("CDREDUCONT", 3),  text("CDBANCO", 3),     text("CDAGENCIA", 5),
                                text("CDCONTCORR", 20), text("DSCONTCORR", 20), text("CDCONTCTBL", 20),
                                text("CDPICTCONT", 20), text("CDPICTAGEN", 10)};
  return s;
}

const PacketShape& PartyShape() {
  static const PacketShape s = {
      text("IDORIGEMINCLUSAO", 20), fixed("IDCONTPROCESDIST", 1), fixed("NRSEQORCAEVE", 2),
      text("CDCLIENTE", 21),        text("NRINSJURCLIE", 20),     text("IDTPIJURCLIE", 1),
      text("NMFANTCLIE", 50),       number("VRRECECONTOREV"),     text("IDSITUCONTOREV", 10),
      text("NMCONTCLIORE", 30),     text("NRENDCLIORCEVE", 10),   text("NMRAZSOCCLIE", 50),
      text("NMFANTSUB", 50),        text("IDTPIJURCLIESUB", 1),   text("NRINSJURCLIESUB", 20),
      text("CDCLICONTSUBORE", 21),  text("IDTPDISTRATOREALI", 10), text("IDCHECK", 1),
      text("IDCONTRESPCOTAORCA", 1), text("IDSITUORCEVE", 1),     text("IDTRANSFCOTAREALI", 1)};
  return s;
}

const PacketShape& ReceivableShape() {
  static const PacketShape s = {
      text("NRSEQHISTRENEGO", 10), fixed("BAIXAREALREALI", 1), text("NRBAIXAREC", 10),  text("CDTPBAIXAREC", 2),
      text("IDBAIXAREALIZADA", 1), fixed("IDORIGNFORCA", 1),  text("IDSTATBREC", 1),   text("NRCNABRECREM", 10),
      text("CDNOSNUMREC", 20),     text("DOCUMENTO", 26),     date("DTATUAVENREC"),    date("DTORIGVENREC"),
      text("NMRAZSOCCLIE", 50),    text("NRSEQVENREC", 2),    text("NRPARCELAREC", 2), text("IDSTATREC", 1),
      number("VRATUAREC"),         text("CDCONTCORR", 20),    text("NRLANCTONF", 10)};
  return s;
}

const PacketShape& PayableShape() {
  static const PacketShape s = {
      date("DTATUAVENPAG"),  date("DTORIGVENPAG"),   text("NMRAZSOCFORN", 40), text("NRSEQVENPAG", 2),
      text("NRPARCELAPAG", 2), text("DOCUMENTO", 26), text("IDSTATPAG", 1),     number("VRATUAPAG"),
      text("NRLANCTONF", 10), text("IDSTATBPAG", 1),  text("NRCNABPAGREM", 10), text("CDNOSNUMPAG", 20),
      fixed("IDORIGNFORCA", 1), text("IDBAIXAREALIZADA", 1)};
  return s;
}

const PacketShape& ContractorValuesShape() {
  using S = FieldType;
  static const PacketShape shape{
      {"VRORIGREC", S::Float, 0},         {"VRPERCMULTA", S::Float, 0},      {"VRMULTA", S::Float, 0},
      {"GERACTPAGAR", S::String, 20},     {"VRORIGRECNOEDIT", S::Float, 0},  {"IDTPIJURCLIE", S::String, 1},
      {"CDCLIENTE", S::String, 21},       {"NRINSJURCLIE", S::String, 20},   {"ERRO", S::String, 100},
      {"CDCLICONTSUBORE", S::String, 21}, {"NRINSJURCLISUB", S::String, 20}, {"IDTPIJURCLIESUB", S::String, 1},
      {"NMFANTCLIESUB", S::String, 50},   {"NRDIAPGTOFIXO", S::Float, 0},    {"NRPARCELAS", S::Float, 0},
      {"IDMESINIPGTO", S::FixedString, 1}, {"IDTPFORMAPGTO", S::FixedString, 1},
      {"ERRORENEGFIN", S::FixedString, 25}, {"NMFANTCLIE", S::String, 50},
      {"NRSEQORCAEVE", S::FixedString, 2}, {"NRENDCLIORCEVE", S::String, 10},
  };
  return shape;
}

const PacketShape& OperatorShape() {
  static const PacketShape s = {text("CDOPERADOR", 12), text("CDVENDEDOR", 4), text("NMFANVEN", 50),
                                text("CDSENHOPER", 20), text("NMOPERADOR", 40)};
  return s;
}
