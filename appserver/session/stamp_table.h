#pragma once
// StampTable maps keys to stamps: what a reader last saw of each record of a
// scope (a budget's working set), by the record's key text. A whole budget's
// stamps are made and dropped on every opening of its review, so the table
// keeps every key and stamp side by side in one buffer, with an
// open-addressed index of offsets beside it: filling it with ten thousand
// stamps costs a few allocations, not three per record.
//
// Not thread-safe; a const table may be read from several threads.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class StampTable {
 public:
  StampTable() = default;
  StampTable(std::initializer_list<std::pair<std::string_view, std::string_view>> entries);

  // Room for `keys` keys of about `bytesEach` bytes of key and stamp.
  void reserve(std::size_t keys, std::size_t bytesEach);

  // Sets `key`'s stamp, replacing any earlier one.
  void set(std::string_view key, std::string_view stamp);
  // Adds `more` at the end of `key`'s stamp; false (and nothing added) when
  // the key has none.
  bool append(std::string_view key, std::string_view more);
  // Forgets `key`'s stamp.
  void erase(std::string_view key);

  // `key`'s stamp, or nothing; the view lasts until the next change.
  std::optional<std::string_view> find(std::string_view key) const;
  // How many keys have a stamp.
  std::size_t size() const { return live_; }

 private:
  struct Entry {
    std::uint64_t hash;
    std::uint32_t keyAt, keyLength;      // the key in bytes_
    std::uint32_t stampAt, stampLength;  // its stamp, right after the key unless it moved
    bool erased;
  };
  static constexpr std::uint32_t kEmptySlot = 0;

  // The slot that holds `key`, or the empty one where it would go.
  std::size_t slotOf(std::string_view key, std::uint64_t hash) const;
  std::string_view keyOf(const Entry& e) const { return {bytes_.data() + e.keyAt, e.keyLength}; }
  // Rebuilds the index over `slots` slots (a power of two).
  void index(std::size_t slots);
  std::uint32_t place(std::string_view bytes);

  // Every key and stamp ever set, in the order set; a replaced or lengthened
  // stamp is written anew at the end and its old bytes are left unused.
  std::string bytes_;
  // One per key ever set, erased ones marked (a key set again revives its entry).
  std::vector<Entry> entries_;
  // Open addressing with linear probing over entries_: a slot holds an
  // entry's index + 1, or kEmptySlot; the size is a power of two and at
  // most half the slots are used.
  std::vector<std::uint32_t> slots_;
  std::size_t live_ = 0;
};
