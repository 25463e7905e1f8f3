#include "state/state_format.h"

#include <algorithm>
#include <utility>

namespace korvale {
namespace {

constexpr int kEnd = -1;

bool isLineEnd(int c) {
  return c == '\r' || c == '\n';
}

// Look-ahead over a ByteSource: the next byte, and runs of bytes taken up to a stop.
class Reader {
 public:
  // The first chunks are gathered until they hold the three bytes a byte-order mark takes.
  explicit Reader(ByteSource& source) : source_(source) {
    for (std::string_view more; start_.size() < 3 && !(more = source_.nextChunk()).empty();) {
      start_ += more;
    }
    chunk_ = start_;
  }
  int peek() {
    if (position_ == chunk_.size() && !refill()) return kEnd;
    return static_cast<unsigned char>(chunk_[position_]);
  }
  void advance() {
    if (peek() != kEnd) ++position_;
  }
  std::size_t sizeHint() const { return chunk_.size() - position_ + source_.sizeHint(); }

  // Passes over every byte up to, not including, the first that `isStop` accepts or the end,
  // and appends them to `value` unless that is null.
  template <class Stop>
  void takeUntil(Stop isStop, std::string* value) {
    while (peek() != kEnd) {
      const auto found = std::find_if(chunk_.begin() + position_, chunk_.end(), isStop);
      const auto stop = static_cast<std::size_t>(found - chunk_.begin());
      if (value != nullptr) value->append(chunk_.substr(position_, stop - position_));
      position_ = stop;
      if (position_ < chunk_.size()) return;
    }
  }

  // Editors that save UTF-8 may put a byte-order mark (EF BB BF) first; nothing this program
  // writes has one. Three bytes that only begin like it are kept.
  void skipByteOrderMark() {
    if (chunk_.substr(0, 3) == "\xEF\xBB\xBF") position_ = 3;
  }

 private:
  bool refill() {
    chunk_ = source_.nextChunk();
    position_ = 0;
    return !chunk_.empty();
  }

  ByteSource& source_;
  std::string start_;
  std::string_view chunk_;
  std::size_t position_ = 0;
};

constexpr auto isFieldEnd = [](char c) { return c == ',' || c == '\r' || c == '\n'; };
constexpr auto isQuote = [](char c) { return c == '"'; };

void skipToFieldStart(Reader& in) {
  while (in.peek() == ' ' || in.peek() == '\t' || isLineEnd(in.peek())) in.advance();
}

// Passes over a comma, or a line end with the LF of a CR LF.
void passOverSeparator(Reader& in) {
  const int c = in.peek();
  if (c == kEnd) return;
  in.advance();
  if (c == '\r' && in.peek() == '\n') in.advance();
}

std::string readQuoted(Reader& in) {
  std::string value;
  value.reserve(in.sizeHint());
  in.advance();  // the opening quote
  in.takeUntil(isQuote, &value);
  in.takeUntil(isFieldEnd, nullptr);
  passOverSeparator(in);
  return value;
}

// Blanks before a comma belong to the field ("20 ,5M" reads "20 "); only those before a line end
// or the end of the file are dropped.
std::string readUnquoted(Reader& in) {
  std::string value;
  value.reserve(in.sizeHint());
  in.takeUntil(isFieldEnd, &value);
  const bool endsAtComma = in.peek() == ',';
  passOverSeparator(in);
  if (!endsAtComma) {
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.pop_back();
  }
  return value;
}

// Room for the rest of the file is made at once (a 100 MB field is then copied once, not grown);
// what a short field leaves unused is given back.
std::optional<std::string> readField(Reader& in) {
  skipToFieldStart(in);
  if (in.peek() == kEnd) return std::nullopt;
  std::string value = in.peek() == '"' ? readQuoted(in) : readUnquoted(in);
  if (value.capacity() > 2 * value.size() + 64) value.shrink_to_fit();
  return value;
}

// The bytes gathered while the start of a file was looked at, then the rest of it.
class PrefixedSource : public ByteSource {
 public:
  PrefixedSource(std::string prefix, ByteSource& rest) : prefix_(std::move(prefix)), rest_(rest) {}
  std::string_view nextChunk() override {
    if (!prefixGiven_) {
      prefixGiven_ = true;
      if (!prefix_.empty()) return prefix_;
    }
    return rest_.nextChunk();
  }
  std::size_t sizeHint() const override {
    return (prefixGiven_ ? 0 : prefix_.size()) + rest_.sizeHint();
  }

 private:
  std::string prefix_;
  ByteSource& rest_;
  bool prefixGiven_ = false;
};

// A UTF-16 file (as some editors save "Unicode" text) read as the UTF-8 the program keeps its
// texts in, a chunk at a time: FF FE 32 00 30 00 -> EF BB BF 32 30 (the byte-order mark becomes
// UTF-8's, which the field reader passes over). A lone surrogate, or an odd byte at the end,
// reads as U+FFFD.
class Utf16Source : public ByteSource {
 public:
  Utf16Source(ByteSource& raw, bool bigEndian) : raw_(raw), bigEndian_(bigEndian) {}

  std::string_view nextChunk() override {
    decoded_.clear();
    while (decoded_.empty()) {
      const std::string_view bytes = raw_.nextChunk();
      if (bytes.empty()) {
        if (pendingByte_ >= 0 || highSurrogate_ != 0) append(0xFFFD);
        pendingByte_ = -1;
        highSurrogate_ = 0;
        break;
      }
      for (const char byte : bytes) take(static_cast<unsigned char>(byte));
    }
    return decoded_;
  }
  std::size_t sizeHint() const override { return raw_.sizeHint() / 2 * 3; }

 private:
  void take(unsigned char byte) {
    if (pendingByte_ < 0) {
      pendingByte_ = byte;
      return;
    }
    const unsigned unit =
        bigEndian_ ? (static_cast<unsigned>(pendingByte_) << 8 | byte)
                   : (static_cast<unsigned>(byte) << 8 | static_cast<unsigned>(pendingByte_));
    pendingByte_ = -1;
    if (highSurrogate_ != 0 && unit >= 0xDC00 && unit <= 0xDFFF) {
      append(0x10000 + ((highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00));
      highSurrogate_ = 0;
      return;
    }
    if (highSurrogate_ != 0) append(0xFFFD);
    highSurrogate_ = 0;
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      highSurrogate_ = unit;
    } else {
      append(unit >= 0xDC00 && unit <= 0xDFFF ? 0xFFFD : unit);
    }
  }

  void append(unsigned code) {
    if (code < 0x80) {
      decoded_ += static_cast<char>(code);
    } else if (code < 0x800) {
      decoded_ += static_cast<char>(0xC0 | code >> 6);
      decoded_ += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      decoded_ += static_cast<char>(0xE0 | code >> 12);
      decoded_ += static_cast<char>(0x80 | (code >> 6 & 0x3F));
      decoded_ += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      decoded_ += static_cast<char>(0xF0 | code >> 18);
      decoded_ += static_cast<char>(0x80 | (code >> 12 & 0x3F));
      decoded_ += static_cast<char>(0x80 | (code >> 6 & 0x3F));
      decoded_ += static_cast<char>(0x80 | (code & 0x3F));
    }
  }

  ByteSource& raw_;
  bool bigEndian_;
  int pendingByte_ = -1;
  unsigned highSurrogate_ = 0;
  std::string decoded_;
};

std::optional<SavedInputs> parseFields(ByteSource& source) {
  Reader in(source);
  in.skipByteOrderMark();
  std::optional<std::string> teeth = readField(in);
  if (!teeth) return std::nullopt;
  std::optional<std::string> pitch = readField(in);
  if (!pitch) return std::nullopt;
  return SavedInputs{std::move(*teeth), std::move(*pitch)};
}

class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
  std::string_view nextChunk() override { return std::exchange(bytes_, std::string_view()); }

 private:
  std::string_view bytes_;
};

}  // namespace

std::vector<std::string_view> stateFilePieces(std::string_view teethBytes,
                                              std::string_view pitchBytes) {
  return {"\"", teethBytes, "\"\r\n\"", pitchBytes, "\"\r\n"};
}

std::optional<SavedInputs> parseStateFile(ByteSource& source, bool* unicode) {
  std::string start;
  for (std::string_view more; start.size() < 2 && !(more = source.nextChunk()).empty();) {
    start += more;
  }
  const bool littleEndian = start.rfind("\xFF\xFE", 0) == 0;
  const bool bigEndian = start.rfind("\xFE\xFF", 0) == 0;
  if (unicode != nullptr) *unicode = littleEndian || bigEndian;
  PrefixedSource whole(std::move(start), source);
  if (!littleEndian && !bigEndian) return parseFields(whole);
  Utf16Source decoded(whole, bigEndian);
  return parseFields(decoded);
}

std::optional<SavedInputs> parseStateFile(std::string_view bytes) {
  MemorySource source(bytes);
  return parseStateFile(source);
}

}  // namespace korvale
