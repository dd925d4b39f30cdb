#pragma once
// The in-memory dataset the screens keep server results in: typed fields, a
// current record, browse/edit/insert states, ordering by index fields, a
// filter, locate by key, and the events the forms hook into.
//
// Fields are either declared before use (`AddField`), and then every packet
// loaded must carry them, or left undeclared, and then each packet loaded
// brings its own. A closed dataset reads as empty: no records, and every
// field reads as null (empty text).
//
// Data-aware observers (through `TDataSource`) are told of moves, content
// changes, state changes and field changes; `DisableControls` holds those
// back (the dataset's own events still fire) until `EnableControls`.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/exceptions.h"
#include "data/field.h"
#include "data/packet.h"
#include "data/record_store.h"
#include "data/variant.h"

class FilterExpression;
class TDataSource;

enum TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

enum TLocateOption : unsigned { loCaseInsensitive = 1u, loPartialKey = 2u };
using TLocateOptions = unsigned;

using TBookmark = std::int64_t;  // a record's identity; -1 for none

class TClientDataSet {
 public:
  using DataSetEvent = std::function<void(TClientDataSet& dataSet)>;

  explicit TClientDataSet(std::string name = "");
  ~TClientDataSet();
  TClientDataSet(const TClientDataSet&) = delete;
  TClientDataSet& operator=(const TClientDataSet&) = delete;

  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }

  // --- fields ---
  // Declares a field; only while the dataset is closed.
  TField& AddField(std::string name, FieldType type, int size = 0);
  int FieldCount() const { return static_cast<int>(fields_.size()); }
  TField& Fields(int index) const;
  // Throws Exception naming the field and the dataset when there is none;
  // on a closed dataset without declared fields it gives an empty field.
  TField& FieldByName(std::string_view name) const;
  TField* FindField(std::string_view name) const;

  // --- content ---
  // Opens empty with the declared fields.
  void CreateDataSet();
  // Replaces the whole content and opens (packet fields in any order).
  // A packet lacking a declared field, or holding a value a field cannot
  // take, throws and leaves the dataset as it was.
  void SetData(const Variant& packet);
  // The same; a decoded packet held by this value alone gives its columns up
  // rather than have them copied, and the value is left null.
  void SetData(Variant&& packet);
  void SetData(const DataPacket& packet);
  // The whole content as a packet: every record, whatever the filter and
  // the order, in the order records were loaded or added.
  Variant Data() const;
  DataPacket ToPacket() const;
  // Removes every record; stays open.
  void EmptyDataSet();

  bool Active() const { return state_ != dsInactive; }
  void SetActive(bool active);
  void Open();
  void Close();
  TDataSetState State() const { return state_; }
  bool Modified() const { return modified_; }

  // --- navigation (over the records the filter lets through, in index order) ---
  bool IsEmpty() const;
  int RecordCount() const;
  int RecNo() const;  // 1-based; 0 when there is no record
  void SetRecNo(int recNo);
  bool Eof() const { return eof_; }
  bool Bof() const { return bof_; }
  void First();
  void Last();
  void Next();
  void Prior();
  int MoveBy(int distance);
  // Makes current the first record whose key fields (";"-separated) equal
  // `values` (one value, or an array with one per field); false and no move
  // when none does.
  bool Locate(std::string_view keyFields, const Variant& values, TLocateOptions options = 0);
  TBookmark GetBookmark() const;
  bool BookmarkValid(TBookmark bookmark) const;
  void GotoBookmark(TBookmark bookmark);

  // --- editing ---
  void Append();
  void Insert();
  void Edit();  // on an empty dataset this inserts
  void Post();
  void Cancel();
  void Delete();

  // --- order and filter ---
  const std::string& IndexFieldNames() const { return indexFieldNames_; }
  void SetIndexFieldNames(std::string names);
  const std::string& Filter() const { return filter_; }
  void SetFilter(std::string expression);
  bool Filtered() const { return filtered_; }
  void SetFiltered(bool filtered);

  // --- observers ---
  void DisableControls();
  void EnableControls();
  bool ControlsDisabled() const { return disableCount_ > 0; }

  // --- events (an exception from a Before* event cancels the operation) ---
  DataSetEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
  DataSetEvent BeforeScroll, AfterScroll;
  DataSetEvent BeforeInsert, AfterInsert, OnNewRecord;
  DataSetEvent BeforeEdit, AfterEdit;
  DataSetEvent BeforePost, AfterPost;
  DataSetEvent BeforeCancel, AfterCancel;
  DataSetEvent BeforeDelete, AfterDelete;

 private:
  friend class TField;
  friend class TDataSource;
  enum class Notice { RecordMoved, DataChanged, StateChanged, FieldChanged };
  using Id = RecordStore::Id;

  // field access for TField
  Variant CurrentValue(int index) const;
  void WriteField(TField& field, Variant value);

  // loading
  void Load(const DataPacket& packet, bool mayTakeColumns);
  // Copies (or, when allowed and no one else holds them, takes) the columns a
  // packet was decoded into when they have the fields' types; false, with
  // nothing done, when the packet must be read cell by cell.
  bool CopyColumns(RecordStore& store, const std::vector<std::unique_ptr<TField>>& fields, const DataPacket& packet,
                   const std::vector<int>& packetIndex, bool mayTakeColumns) const;
  void FillStore(RecordStore& store, const std::vector<std::unique_ptr<TField>>& fields, const DataPacket& packet,
                 const std::vector<int>& packetIndex) const;
  void InstallFields(std::vector<std::unique_ptr<TField>>&& fields);
  // The sort order and the filter as compiled for `fields`, which are about to
  // be installed; compiled before anything changes, so a failure changes nothing.
  struct CompiledView {
    std::vector<std::size_t> index;
    std::unique_ptr<FilterExpression> filter;
  };
  CompiledView CompileViewFor(const std::vector<std::unique_ptr<TField>>& fields) const;
  void OpenWith(RecordStore&& store, CompiledView&& view);

  // view (visible records in order)
  void RebuildView();
  void RebuildViewKeeping(TBookmark keep);
  bool PassesFilter(Id id) const;
  void CompileFilter();
  std::unique_ptr<FilterExpression> CompileFilterFor(const std::vector<std::unique_ptr<TField>>& fields) const;
  std::vector<std::size_t> FieldIndexes(std::string_view names) const;
  std::vector<std::size_t> FieldIndexes(std::string_view names,
                                        const std::vector<std::unique_ptr<TField>>& fields) const;
  Id CurrentId() const { return view_[static_cast<std::size_t>(cur_)]; }

  // state
  void CheckActive(const char* operation) const;
  void CheckBrowseMode();
  void SetState(TDataSetState state);
  void Fire(const DataSetEvent& event);
  void Scrolled();  // after a move: observers, then AfterScroll
  void BeginInsert(bool append);
  [[noreturn]] void Fail(const std::string& message) const;

  // observers
  void Notify(Notice notice, TField* field = nullptr);
  void Attach(TDataSource* source);
  void Detach(TDataSource* source);

  std::string name_;
  std::vector<std::unique_ptr<TField>> fields_;
  // Fields of earlier packets, kept so references stay valid; at most one per
  // name, type and size ever loaded, since a packet of that shape takes its
  // field back.
  std::vector<std::unique_ptr<TField>> retired_;
  mutable std::map<std::string, std::unique_ptr<TField>, std::less<>> placeholders_;
  bool declared_ = false;

  RecordStore store_;
  std::vector<Id> view_;
  int cur_ = -1;
  bool bof_ = true, eof_ = true;

  TDataSetState state_ = dsInactive;
  std::vector<Variant> buffer_;  // the record being edited or inserted
  int insertAt_ = 0;             // view position of the record being inserted
  int curBeforeInsert_ = -1;
  bool modified_ = false;

  std::string indexFieldNames_;
  std::vector<std::size_t> indexFields_;
  std::string filter_;
  bool filtered_ = false;
  std::unique_ptr<FilterExpression> filterExpr_;

  std::vector<TDataSource*> sources_;
  int disableCount_ = 0;
  TDataSetState disableState_ = dsInactive;
};

using TDataSet = TClientDataSet;
