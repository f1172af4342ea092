// An input iterator over JSON text for nlohmann's parser that counts lines and
// columns as the parser reads, so that a handler of its SAX events, which carry no
// position, and its parse errors, which carry a byte offset, can say where.
#pragma once

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <string_view>
#include <vector>

namespace jv::document {

struct TextPosition {
  int line = 1;    // counted from 1
  int column = 1;  // bytes on the line, counted from 1
};

// What the parser has read so far. A newline belongs to the line it ends.
class ReadPositions {
 public:
  // Where the byte read last lies; the start before any.
  TextPosition Last() const { return last_; }
  // Where the byte at `offset` lies, for any offset up to one past the bytes read
  // (the parser counts the end of the text as a byte read).
  TextPosition At(std::size_t offset) const {
    const auto before = std::lower_bound(newlines_.begin(), newlines_.end(), offset);
    const std::size_t line_start = before == newlines_.begin() ? 0 : *(before - 1) + 1;
    return {static_cast<int>(before - newlines_.begin()) + 1, static_cast<int>(offset - line_start) + 1};
  }

  void Read(std::size_t offset, char c) {
    last_ = next_;
    if (c == '\n') {
      newlines_.push_back(offset);
      next_ = {next_.line + 1, 1};
    } else {
      ++next_.column;
    }
  }

 private:
  TextPosition last_, next_;
  std::vector<std::size_t> newlines_;  // offsets, ascending
};

class PositionCountingIterator {
 public:
  using iterator_category = std::input_iterator_tag;
  using value_type = char;
  using difference_type = std::ptrdiff_t;
  using pointer = const char*;
  using reference = const char&;

  PositionCountingIterator(std::string_view text, std::size_t offset, ReadPositions* positions)
      : text_(text), offset_(offset), positions_(positions) {}
  reference operator*() const { return text_[offset_]; }
  PositionCountingIterator& operator++() {
    positions_->Read(offset_, text_[offset_]);
    ++offset_;
    return *this;
  }
  PositionCountingIterator operator++(int) {
    PositionCountingIterator before = *this;
    ++*this;
    return before;
  }
  friend bool operator==(const PositionCountingIterator& a, const PositionCountingIterator& b) {
    return a.offset_ == b.offset_;
  }

 private:
  std::string_view text_;
  std::size_t offset_;
  ReadPositions* positions_;
};

}  // namespace jv::document
