#pragma once
// The characters of a dataset column's texts, back to back in one block that
// grows only at its end. A string would do, but its append checks and
// re-terminates on every call; a bulk load appends a million short texts, and
// here each costs a copy and a comparison. Not thread-safe; no terminating
// zero.

#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

class TextBlock {
 public:
  TextBlock() = default;
  TextBlock(const TextBlock& other);
  TextBlock& operator=(const TextBlock& other);
  TextBlock(TextBlock&& other) noexcept;
  TextBlock& operator=(TextBlock&& other) noexcept;

  const char* data() const { return bytes_.get(); }
  std::size_t size() const { return size_; }
  std::size_t capacity() const { return capacity_; }

  // Room for `bytes` characters in all, so appending up to them moves nothing.
  void reserve(std::size_t bytes);
  // Gives back the room reserved and not used.
  void shrink_to_fit();
  void append(std::string_view text) {
    if (text.empty()) return;
    if (text.size() > capacity_ - size_) Grow(text.size());
    std::memcpy(bytes_.get() + size_, text.data(), text.size());
    size_ += text.size();
  }
  void append(std::size_t count, char c) {
    if (count == 0) return;
    if (count > capacity_ - size_) Grow(count);
    std::memset(bytes_.get() + size_, c, count);
    size_ += count;
  }

 private:
  // Room for `more` characters past size(), at least doubling the block.
  void Grow(std::size_t more);
  void MoveTo(std::size_t newCapacity);

  std::unique_ptr<char[]> bytes_;  // capacity_ bytes, the first size_ of them in use
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};
