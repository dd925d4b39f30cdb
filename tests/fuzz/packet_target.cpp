// A remote method's result loaded into a client dataset, as every screen
// does: the bytes decoded as a value, the value loaded (fields taken from
// the packet), every cell read as the grids read it, the rows sorted on
// each field and the dataset read back as a packet. A refusal must be an
// Exception or ProtocolError; anything else, or a read-back that loses rows
// or fields, is a fault.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "data/client_dataset.h"
#include "data/exceptions.h"
#include "data/field.h"
#include "net/value_codec.h"

namespace {

void ReadEveryCell(TClientDataSet& data) {
  for (data.First(); !data.Eof(); data.Next())
    for (int f = 0; f < data.FieldCount(); ++f) {
      const TField& field = data.Fields(f);
      (void)field.AsString();
      (void)field.DisplayText();
      (void)field.AsFloat();
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
  try {
    ReadEveryCell(dataset);
    for (int f = 0; f < dataset.FieldCount(); ++f) {
      dataset.SetIndexFieldNames(dataset.Fields(f).FieldName());
      ReadEveryCell(dataset);
    }
  } catch (const Exception&) {
    // A cell the field cannot show (a text where a number belongs) is refused, not a fault.
  }
  const DataPacket back = dataset.ToPacket();
  if (back.rowCount() != sent.rowCount() || back.fields.size() != sent.fields.size()) std::abort();
  return 0;
}
