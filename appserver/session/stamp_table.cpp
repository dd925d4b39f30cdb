#include "session/stamp_table.h"

#include <functional>
#include <limits>
#include <stdexcept>

StampTable::StampTable(std::initializer_list<std::pair<std::string_view, std::string_view>> entries) {
  for (const auto& [key, stamp] : entries) set(key, stamp);
}

void StampTable::reserve(std::size_t keys, std::size_t bytesEach) {
  bytes_.reserve(keys * bytesEach);
  entries_.reserve(keys);
  std::size_t slots = 16;
  while (slots < 2 * keys) slots *= 2;
  if (slots > slots_.size()) index(slots);
}

std::size_t StampTable::slotOf(std::string_view key, std::uint64_t hash) const {
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t s = hash & mask;; s = (s + 1) & mask) {
    const std::uint32_t at = slots_[s];
    if (at == kEmptySlot) return s;
    const Entry& e = entries_[at - 1];
    if (e.hash == hash && keyOf(e) == key) return s;
  }
}

void StampTable::index(std::size_t slots) {
  slots_.assign(slots, kEmptySlot);
  for (std::size_t i = 0; i < entries_.size(); ++i)
    slots_[slotOf(keyOf(entries_[i]), entries_[i].hash)] = static_cast<std::uint32_t>(i + 1);
}

std::uint32_t StampTable::place(std::string_view bytes) {
  if (bytes_.size() + bytes.size() > std::numeric_limits<std::uint32_t>::max())
    throw std::length_error("Carimbos de leitura demais para uma conexão.");
  const auto at = static_cast<std::uint32_t>(bytes_.size());
  const std::less<const char*> before;
  const bool ours = !bytes.empty() && !before(bytes.data(), bytes_.data()) &&
                    before(bytes.data(), bytes_.data() + bytes_.size());
  // Bytes of this table (a stamp moving to the end) are copied out first:
  // growing the buffer may move them.
  if (ours) bytes_.append(std::string(bytes));
  else bytes_.append(bytes);
  return at;
}

void StampTable::set(std::string_view key, std::string_view stamp) {
  if (2 * (entries_.size() + 1) > slots_.size()) index(slots_.empty() ? 16 : 2 * slots_.size());
  const std::uint64_t hash = std::hash<std::string_view>{}(key);
  const std::size_t s = slotOf(key, hash);
  if (slots_[s] != kEmptySlot) {
    Entry& e = entries_[slots_[s] - 1];
    if (e.erased) ++live_;
    e.erased = false;
    if (stamp.size() <= e.stampLength) {
      // Shorter or as long: in place.
      bytes_.replace(e.stampAt, stamp.size(), stamp);
    } else {
      e.stampAt = place(stamp);
    }
    e.stampLength = static_cast<std::uint32_t>(stamp.size());
    return;
  }
  const std::uint32_t keyAt = place(key);
  const std::uint32_t stampAt = place(stamp);
  entries_.push_back({hash, keyAt, static_cast<std::uint32_t>(key.size()), stampAt,
                      static_cast<std::uint32_t>(stamp.size()), false});
  slots_[s] = static_cast<std::uint32_t>(entries_.size());
  ++live_;
}

bool StampTable::append(std::string_view key, std::string_view more) {
  if (slots_.empty()) return false;
  const std::size_t s = slotOf(key, std::hash<std::string_view>{}(key));
  if (slots_[s] == kEmptySlot) return false;
  Entry& e = entries_[slots_[s] - 1];
  if (e.erased) return false;
  if (e.stampAt + e.stampLength != bytes_.size()) {
    // Not the last stamp written: it moves to the end, where it can grow.
    // A plan's installments come together, so a stamp moves once.
    e.stampAt = place(std::string_view(bytes_.data() + e.stampAt, e.stampLength));
  }
  place(more);
  e.stampLength += static_cast<std::uint32_t>(more.size());
  return true;
}

void StampTable::erase(std::string_view key) {
  if (slots_.empty()) return;
  const std::size_t s = slotOf(key, std::hash<std::string_view>{}(key));
  if (slots_[s] == kEmptySlot) return;
  Entry& e = entries_[slots_[s] - 1];
  if (!e.erased) --live_;
  e.erased = true;
}

std::optional<std::string_view> StampTable::find(std::string_view key) const {
  if (slots_.empty()) return std::nullopt;
  const std::size_t s = slotOf(key, std::hash<std::string_view>{}(key));
  if (slots_[s] == kEmptySlot) return std::nullopt;
  const Entry& e = entries_[slots_[s] - 1];
  if (e.erased) return std::nullopt;
  return std::string_view(bytes_.data() + e.stampAt, e.stampLength);
}
