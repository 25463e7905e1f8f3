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

std::string formatStateFile(std::string_view teethBytes, std::string_view pitchBytes) {
  std::string bytes;
  for (std::string_view piece : stateFilePieces(teethBytes, pitchBytes)) bytes += piece;
  return bytes;
}

std::optional<SavedInputs> parseStateFile(ByteSource& source) {
  Reader in(source);
  in.skipByteOrderMark();
  std::optional<std::string> teeth = readField(in);
  if (!teeth) return std::nullopt;
  std::optional<std::string> pitch = readField(in);
  if (!pitch) return std::nullopt;
  return SavedInputs{std::move(*teeth), std::move(*pitch)};
}

std::optional<SavedInputs> parseStateFile(std::string_view bytes) {
  MemorySource source(bytes);
  return parseStateFile(source);
}

}  // namespace korvale
