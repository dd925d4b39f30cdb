// A dataset filter typed by a user or built by a screen: any text is either
// refused with Exception or applied, and applying it walks only rows of the
// dataset. Fields of every type, nulls among them, so comparisons of each
// kind of constant with each kind of field are reached.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "data/client_dataset.h"
#include "data/exceptions.h"
#include "data/packet.h"

namespace {

DataPacket Rows() {
  DataPacket packet({{"NMFANTCLIE", FieldType::String, 20},
                     {"IDSTATREC", FieldType::FixedString, 1},
                     {"VRATUAREC", FieldType::Float, 0},
                     {"DTVENCPARCELA", FieldType::DateTime, 0},
                     {"NRPARCELA", FieldType::Integer, 0},
                     {"IDATIVO", FieldType::Boolean, 0}});
  packet.addRow({"Ana Paula Ferreira", "A", 1500.5, DateTime{46392}, 1, true});
  packet.addRow({"Bruno O'Neil", "B", -20.0, DateTime{46023.5}, -3, false});
  packet.addRow({nullptr, nullptr, nullptr, nullptr, nullptr, nullptr});
  packet.addRow({"", " ", 0.0, DateTime{0}, 2147483647, true});
  return packet;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const DataPacket rows = Rows();
  TClientDataSet dataset("cdsFuzz");
  dataset.SetData(rows);
  try {
    dataset.SetFilter(std::string(reinterpret_cast<const char*>(data), size));
    dataset.SetFiltered(true);
  } catch (const Exception&) {
    return 0;
  }
  int seen = 0;
  for (dataset.First(); !dataset.Eof(); dataset.Next()) ++seen;
  if (seen != dataset.RecordCount() || seen > static_cast<int>(rows.rowCount())) std::abort();
  return 0;
}
