#pragma once
// Fills a packet of a declared shape from the rows of a query whose columns
// come in the shape's order. Texts are cut to their size and fixed-length
// texts padded to it (sizes count characters, not bytes); a NULL text reads
// as empty, as the client's datasets show it.

#include <functional>
#include <vector>

#include "methods/packet_shapes.h"

class Statement;

// Sees each row of a query as it is read, before the next step: a caller
// that wants more of the row than the packet keeps reads it here.
using RowVisitor = std::function<void(const Statement&)>;

DataPacket QueryPacket(Statement& st, const PacketShape& shape);
// Like QueryPacket, the rows ordered by the texts of the query's columns
// `keyColumns` as stored (before any cut or padding), compared byte by byte
// as SQLite's BINARY collation does. A key column is a text field of the
// shape or a column after the shape's. Sorting here spares SQLite a
// temporary sort of every column; the keys must tell every row apart.
// `eachRow`, when given, sees every row read.
DataPacket QueryPacketOrdered(Statement& st, const PacketShape& shape, const std::vector<int>& keyColumns,
                              const RowVisitor& eachRow = {});

// The value of one column converted to the field's type.
Variant CellValue(const Statement& st, int col, const FieldDef& field);

// `text` cut to at most `size` UTF-8 characters.
std::string CutToChars(const std::string& text, int size);
