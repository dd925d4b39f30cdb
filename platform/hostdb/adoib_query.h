#pragma once
// TADOIBQuery: a read-only, parameterised query on the host's database. The
// statement is kept as lines in `SQL`; ":NAME" parameters are bound by the
// database, never pasted into the text. Opening reads the whole result into
// a data packet, walked with a cursor and readable whole by a grid.

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "data/packet.h"
#include "data/variant.h"

class THostDatabase;

class TQueryParam {
 public:
  explicit TQueryParam(std::string name) : Name(std::move(name)) {}

  std::string Name;
  Variant Value;  // null until set; a null parameter binds SQL NULL

  void SetAsString(std::string text) { Value = Variant(std::move(text)); }
  std::string AsString() const { return Value.asText(); }
};

// One column of the current row. Past the end, or on an empty result, the
// value is null and reads as empty text.
struct TQueryField {
  std::string Name;
  Variant Value;

  bool IsNull() const { return Value.isNull(); }
  std::string AsString() const { return Value.asText(); }
  std::int64_t AsInteger() const;
  double AsFloat() const;
};

class TADOIBQuery {
 public:
  // Without a connection of its own the query reads dtmDBGeral().
  explicit TADOIBQuery(std::string name = "", THostDatabase* connection = nullptr);

  std::string Name;
  std::vector<std::string> SQL;

  void SetConnection(THostDatabase* connection) { connection_ = connection; }
  // The statement as run: the lines of SQL joined by line breaks.
  std::string SqlText() const;

  // The parameter of that name (case-insensitive) in the current statement;
  // raises Exception when the statement has none of that name. Values are
  // kept across Close and Open.
  TQueryParam& ParamByName(std::string_view name);

  // Runs the statement and reads its rows; failures (no database, a bad
  // statement, a missing table) raise Exception with the database's reason,
  // leaving the query closed.
  void Open();
  void Close();
  bool Active() const { return active_; }

  bool IsEmpty() const { return data_.rows.empty(); }
  bool Eof() const { return current_ >= data_.rows.size(); }
  void First() { current_ = 0; }
  void Next();
  int RecordCount() const { return static_cast<int>(data_.rows.size()); }

  // A column of the current row by name (case-insensitive); raises Exception
  // for a name the result lacks, and on a closed query, which has no columns.
  TQueryField FieldByName(std::string_view name) const;

  // The whole result, fields and rows; empty when closed.
  const DataPacket& Data() const { return data_; }

 private:
  THostDatabase& Connection() const;

  THostDatabase* connection_;
  std::map<std::string, TQueryParam> params_;  // by upper-cased name; references stay valid
  DataPacket data_;
  std::size_t current_ = 0;
  bool active_ = false;
};
