#pragma once
// A large packet of receivables shaped like the main screen's account view,
// shared by the benchmarks that load, sort, encode or decode one. Each
// benchmark supplies its own rows: what they hold is part of what it measures.

#include <cstddef>
#include <utility>
#include <vector>

#include "data/packet.h"
#include "data/variant.h"

namespace bench {

inline constexpr std::size_t kReceivablesRows = 100000;

// The receivables' fields, as the main screen declares them.
inline const std::vector<FieldDef>& ReceivablesFields() {
  static const std::vector<FieldDef> fields{
      {"NRSEQHISTRENEGO", FieldType::String, 10}, {"BAIXAREALREALI", FieldType::FixedString, 1},
      {"NRBAIXAREC", FieldType::String, 10},      {"CDTPBAIXAREC", FieldType::String, 2},
      {"IDBAIXAREALIZADA", FieldType::String, 1}, {"IDORIGNFORCA", FieldType::FixedString, 1},
      {"IDSTATBREC", FieldType::String, 1},       {"NRCNABRECREM", FieldType::String, 10},
      {"CDNOSNUMREC", FieldType::String, 20},     {"DOCUMENTO", FieldType::String, 26},
      {"DTATUAVENREC", FieldType::DateTime, 0},   {"DTORIGVENREC", FieldType::DateTime, 0},
      {"NMRAZSOCCLIE", FieldType::String, 50},    {"NRSEQVENREC", FieldType::String, 2},
      {"NRPARCELAREC", FieldType::String, 2},     {"IDSTATREC", FieldType::String, 1},
      {"VRATUAREC", FieldType::Float, 0},         {"CDCONTCORR", FieldType::String, 20},
      {"NRLANCTONF", FieldType::String, 10},
  };
  return fields;
}

// `rows` receivables, row i being makeRow(i) in the order of ReceivablesFields().
template <class MakeRow>
Variant ReceivablesPacket(std::size_t rows, MakeRow makeRow) {
  DataPacket p(ReceivablesFields());
  p.rows.reserve(rows);
  for (std::size_t i = 0; i < rows; ++i) p.rows.push_back(makeRow(i));
  return Variant(std::move(p));
}

}  // namespace bench
