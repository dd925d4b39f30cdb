// Loading, reading back, opening and closing the in-memory dataset.
#include <algorithm>

#include "data/client_dataset.h"
#include "data/field_value.h"
#include "data/filter_expression.h"
#include "data/text_compare.h"

namespace {

std::vector<FieldType> TypesOf(const std::vector<std::unique_ptr<TField>>& fields) {
  std::vector<FieldType> types;
  for (const auto& f : fields) types.push_back(f->DataType());
  return types;
}

}  // namespace

void TClientDataSet::SetData(const Variant& packet) {
  if (packet.isNull()) {
    Close();
    return;
  }
  if (!packet.isPacket()) Fail("o valor recebido não é um pacote de dados");
  Load(packet.asPacket(), false);
}

void TClientDataSet::SetData(Variant&& packet) {
  // Ours alone from here: nothing else sees the packet lose its columns.
  const Variant owned = std::move(packet);
  if (!owned.isPacket()) return SetData(owned);
  Load(owned.asPacket(), owned.holdsPacketAlone());
}

void TClientDataSet::SetData(const DataPacket& packet) { Load(packet, false); }

void TClientDataSet::Load(const DataPacket& packet, bool mayTakeColumns) {
  // Everything that can fail is done aside, so a failure leaves the dataset as it was.
  std::vector<std::unique_ptr<TField>> candidates;
  const std::vector<std::unique_ptr<TField>>* fields = &fields_;
  if (!declared_) {
    for (const FieldDef& def : packet.fields) {
      auto f = std::make_unique<TField>(this, def.name, def.type, def.size);
      f->index_ = static_cast<int>(candidates.size());
      candidates.push_back(std::move(f));
    }
    fields = &candidates;
  }
  std::vector<int> packetIndex;
  for (const auto& f : *fields) {
    int i = packet.fieldIndex(f->FieldName());
    if (i < 0) Fail("o pacote de dados não traz o campo '" + f->FieldName() + "'");
    packetIndex.push_back(i);
  }
  RecordStore store;
  if (!CopyColumns(store, *fields, packet, packetIndex, mayTakeColumns)) {
    store.Reset(TypesOf(*fields), packet.rows.size());
    FillStore(store, *fields, packet, packetIndex);
  }
  CompiledView view = CompileViewFor(*fields);

  Close();
  Fire(BeforeOpen);
  if (!declared_) InstallFields(std::move(candidates));
  OpenWith(std::move(store), std::move(view));
}

TClientDataSet::CompiledView TClientDataSet::CompileViewFor(const std::vector<std::unique_ptr<TField>>& fields) const {
  return {FieldIndexes(indexFieldNames_, fields), CompileFilterFor(fields)};
}

namespace {

// Blanks a fixed-length field's text takes to reach its size.
std::size_t PadOf(const TField& field, std::string_view text) {
  if (field.DataType() != FieldType::FixedString || field.Size() <= 0) return 0;
  const std::size_t chars = Utf8Length(text), size = static_cast<std::size_t>(field.Size());
  return chars < size ? size - chars : 0;
}

bool IsTextType(FieldType type) { return type == FieldType::String || type == FieldType::FixedString; }

// Reserves each text field's block for the whole packet, as much as rows
// spread over it suggest and a little more, so a large load copies every
// block's bytes once rather than growing it step by step and trimming it.
void ReserveTexts(RecordStore& store, const std::vector<std::unique_ptr<TField>>& fields, const DataPacket& packet,
                  const std::vector<int>& packetIndex) {
  constexpr std::size_t kSamples = 64;
  const std::size_t rows = packet.rows.size();
  if (rows < kSamples * 4) return;
  for (std::size_t f = 0; f < fields.size(); ++f) {
    if (!IsTextType(fields[f]->DataType())) continue;
    const std::size_t pi = static_cast<std::size_t>(packetIndex[f]);
    const std::size_t least = fields[f]->DataType() == FieldType::FixedString
                                  ? static_cast<std::size_t>(std::max(fields[f]->Size(), 0)) : 0;
    std::size_t sampled = 0;
    for (std::size_t s = 0; s < kSamples; ++s) {
      const PacketRows::ConstRowRef row = packet.rows[s * (rows / kSamples)];
      if (pi < row.size() && row[pi].isText()) sampled += std::max(row[pi].textView().size(), least);
    }
    const std::size_t expected = sampled * (rows / kSamples);
    store.ReserveText(f, expected + expected / 16 + 64);
  }
}

}  // namespace

bool TClientDataSet::CopyColumns(RecordStore& store, const std::vector<std::unique_ptr<TField>>& fields,
                                 const DataPacket& packet, const std::vector<int>& packetIndex,
                                 bool mayTakeColumns) const {
  const RecordStore* columns = packet.rows.Columns();
  if (!columns) return false;
  std::vector<std::size_t> selected;
  for (std::size_t f = 0; f < fields.size(); ++f) {
    const std::size_t pi = static_cast<std::size_t>(packetIndex[f]);
    if (pi >= columns->FieldCount() || columns->Type(pi) != fields[f]->DataType()) return false;
    selected.push_back(pi);
  }
  // A packet decoded for this load alone gives its columns up: the largest
  // part of a load was copying them. A field named twice is copied instead.
  std::vector<std::size_t> distinct = selected;
  std::sort(distinct.begin(), distinct.end());
  const bool once = std::adjacent_find(distinct.begin(), distinct.end()) == distinct.end();
  const std::shared_ptr<RecordStore> sole = mayTakeColumns && once ? packet.rows.SoleColumns() : nullptr;
  if (sole) store.TakeColumns(std::move(*sole), selected);
  else store.CopyColumns(*columns, selected);
  // Fixed-length texts are kept padded to their size.
  for (std::size_t f = 0; f < fields.size(); ++f)
    if (fields[f]->DataType() == FieldType::FixedString && fields[f]->Size() > 0)
      store.PadTexts(f, static_cast<std::size_t>(fields[f]->Size()));
  return true;
}

void TClientDataSet::FillStore(RecordStore& store, const std::vector<std::unique_ptr<TField>>& fields,
                               const DataPacket& packet, const std::vector<int>& packetIndex) const {
  using K = Variant::Kind;
  ReserveTexts(store, fields, packet, packetIndex);
  for (std::size_t r = 0; r < packet.rows.size(); ++r) {
    const PacketRows::ConstRowRef row = packet.rows[r];
    for (std::size_t f = 0; f < fields.size(); ++f) {
      std::size_t pi = static_cast<std::size_t>(packetIndex[f]);
      if (pi >= row.size()) Fail("a linha " + std::to_string(r + 1) + " do pacote de dados está incompleta");
      const Variant& v = row[pi];
      const TField& field = *fields[f];
      FieldType type = field.DataType();
      K kind = v.kind();
      if (kind == K::Null) {
        store.AppendNull(f);
      } else if (kind == K::Text && IsTextType(type)) {
        // Texts load as the server sent them (never cut, so they read back intact);
        // fixed-length ones are padded to their size.
        std::string_view text = v.textView();
        store.AppendText(f, text, PadOf(field, text));
      } else if (kind == StoredKind(type) && type != FieldType::Boolean && type != FieldType::Integer) {
        store.AppendNumber(f, v.asDouble());
      } else {
        try {
          Variant converted = ToFieldValue(v, type, 0, field.FieldName());
          if (type == FieldType::FixedString) converted = ToFieldValue(converted, type, field.Size(), field.FieldName());
          store.AppendCell(f, converted);
        } catch (const Exception& e) {
          Fail(std::string(e.what()) + " (linha " + std::to_string(r + 1) + " do pacote de dados)");
        }
      }
    }
  }
  store.Seal();
}

void TClientDataSet::InstallFields(std::vector<std::unique_ptr<TField>>&& fields) {
  // Fields of the same name and type carry over, with their labels, formats
  // and handlers, from this packet's predecessor or from an earlier one; the
  // others retire but stay alive for whoever holds them.
  auto sameAs = [](const TField& candidate) {
    return [&candidate](const std::unique_ptr<TField>& old) {
      return old && old->FieldName() == candidate.FieldName() && old->DataType() == candidate.DataType() &&
             old->Size() == candidate.Size();
    };
  };
  std::vector<std::unique_ptr<TField>> installed;
  for (auto& candidate : fields) {
    std::unique_ptr<TField>* kept = nullptr;
    if (auto same = std::find_if(fields_.begin(), fields_.end(), sameAs(*candidate)); same != fields_.end())
      kept = &*same;
    else if (auto back = std::find_if(retired_.begin(), retired_.end(), sameAs(*candidate)); back != retired_.end())
      kept = &*back;
    if (kept) {
      (*kept)->dataSet_ = this;
      (*kept)->index_ = candidate->index_;
      installed.push_back(std::move(*kept));
    } else {
      installed.push_back(std::move(candidate));
    }
  }
  std::erase(retired_, nullptr);
  for (auto& old : fields_)
    if (old) {
      old->dataSet_ = nullptr;
      retired_.push_back(std::move(old));
    }
  fields_ = std::move(installed);
}

void TClientDataSet::OpenWith(RecordStore&& store, CompiledView&& view) {
  store_ = std::move(store);
  indexFields_ = std::move(view.index);
  filterExpr_ = std::move(view.filter);
  RebuildView();
  cur_ = view_.empty() ? -1 : 0;
  bof_ = true;
  eof_ = view_.empty();
  modified_ = false;
  SetState(dsBrowse);
  Notify(Notice::DataChanged);
  Fire(AfterOpen);
  if (!view_.empty()) Fire(AfterScroll);
}

void TClientDataSet::CreateDataSet() {
  if (fields_.empty()) Fail("não há campos definidos para criar o conjunto de dados");
  CompiledView view = CompileViewFor(fields_);
  Close();
  Fire(BeforeOpen);
  RecordStore store;
  store.Reset(TypesOf(fields_));
  OpenWith(std::move(store), std::move(view));
}

void TClientDataSet::Open() {
  if (Active()) return;
  CreateDataSet();
}

void TClientDataSet::Close() {
  if (!Active()) return;
  Fire(BeforeClose);
  buffer_.clear();
  modified_ = false;
  store_ = RecordStore();
  view_.clear();
  cur_ = -1;
  bof_ = eof_ = true;
  SetState(dsInactive);
  Fire(AfterClose);
}

void TClientDataSet::SetActive(bool active) {
  if (active) Open();
  else Close();
}

void TClientDataSet::EmptyDataSet() {
  CheckActive("esvaziar");
  buffer_.clear();
  modified_ = false;
  store_.Reset(TypesOf(fields_));
  view_.clear();
  cur_ = -1;
  bof_ = eof_ = true;
  SetState(dsBrowse);
  Notify(Notice::DataChanged);
}

DataPacket TClientDataSet::ToPacket() const {
  DataPacket packet;
  for (const auto& f : fields_) packet.fields.push_back({f->FieldName(), f->DataType(), f->Size()});
  if (!Active()) return packet;
  packet.rows.reserve(store_.LiveCount());
  for (Id id : store_.Order()) packet.rows.push_back(store_.RowOf(id));
  return packet;
}

Variant TClientDataSet::Data() const { return Variant(ToPacket()); }
