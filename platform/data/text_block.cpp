#include "data/text_block.h"

#include <algorithm>
#include <utility>

TextBlock::TextBlock(const TextBlock& other) { *this = other; }

TextBlock& TextBlock::operator=(const TextBlock& other) {
  if (this == &other) return *this;
  // A copy keeps only what is in use.
  size_ = 0;
  if (capacity_ < other.size_) MoveTo(other.size_);
  if (other.size_) std::memcpy(bytes_.get(), other.bytes_.get(), other.size_);
  size_ = other.size_;
  return *this;
}

TextBlock::TextBlock(TextBlock&& other) noexcept
    : bytes_(std::move(other.bytes_)),
      size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)) {}

TextBlock& TextBlock::operator=(TextBlock&& other) noexcept {
  bytes_ = std::move(other.bytes_);
  size_ = std::exchange(other.size_, 0);
  capacity_ = std::exchange(other.capacity_, 0);
  return *this;
}

void TextBlock::reserve(std::size_t bytes) {
  if (bytes > capacity_) MoveTo(bytes);
}

void TextBlock::shrink_to_fit() {
  if (capacity_ > size_) MoveTo(size_);
}

void TextBlock::Grow(std::size_t more) { MoveTo(std::max(size_ + more, 2 * capacity_)); }

void TextBlock::MoveTo(std::size_t newCapacity) {
  std::unique_ptr<char[]> bytes = newCapacity ? std::make_unique_for_overwrite<char[]>(newCapacity) : nullptr;
  if (size_) std::memcpy(bytes.get(), bytes_.get(), size_);
  bytes_ = std::move(bytes);
  capacity_ = newCapacity;
}
