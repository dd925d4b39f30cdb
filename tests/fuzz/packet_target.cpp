// A remote method's result loaded into a client dataset, as every screen
// does: the bytes decoded as a value, the value loaded (fields taken from
// the packet), every cell read as the grids read it, the rows sorted on
// each field and the dataset read back as a packet. Decoding and loading
// refuse with ProtocolError or Exception; a cell read as a type it does not
// hold (a boolean as a number) refuses with the error a screen's handler
// shows. Anything else, or a read-back that loses rows or fields, is a fault.

#include <cstdint>
#include <cstdlib>
#include <exception>
#include <string_view>

#include "data/client_dataset.h"
#include "data/exceptions.h"
#include "data/field.h"
#include "net/value_codec.h"

namespace {

template <class Read>
void Refusable(Read read) {
  try {
    read();
  } catch (const std::exception&) {
  }
}

void ReadEveryCell(TClientDataSet& data) {
  for (data.First(); !data.Eof(); data.Next())
    for (int f = 0; f < data.FieldCount(); ++f) {
      const TField& field = data.Fields(f);
      Refusable([&] { (void)field.AsString(); });
      Refusable([&] { (void)field.DisplayText(); });
      Refusable([&] { (void)field.AsFloat(); });
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Variant value;
  try {
    value = wire::DecodeValue(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const wire::ProtocolError&) {
    return 0;
  }
  TClientDataSet dataset("cdsFuzz");
  try {
    dataset.SetData(value);
  } catch (const Exception&) {
    return 0;
  }
  if (!value.isPacket()) return 0;
  const DataPacket& sent = value.asPacket();
  ReadEveryCell(dataset);
  for (int f = 0; f < dataset.FieldCount(); ++f) {
    try {
      dataset.SetIndexFieldNames(dataset.Fields(f).FieldName());
    } catch (const Exception&) {
      continue;  // a field name the index list cannot hold (one with ";")
    }
    ReadEveryCell(dataset);
  }
  const DataPacket back = dataset.ToPacket();
  if (back.rowCount() != sent.rowCount() || back.fields.size() != sent.fields.size()) std::abort();
  return 0;
}
