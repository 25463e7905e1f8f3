#pragma once

#include <cstddef>
#include <string_view>

namespace korvale {

// A source of a file's bytes, read in order, a chunk at a time.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // The next bytes, valid until the next call; empty at the end. Throws nothing; a read error
  // reads as the end.
  virtual std::string_view nextChunk() = 0;
  // How many bytes are left to come, as far as is known; room for a field is made from it.
  virtual std::size_t sizeHint() const { return 0; }
};

}  // namespace korvale
