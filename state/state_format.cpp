#include "state/state_format.h"

namespace korvale {
namespace {

constexpr int kEnd = -1;

bool isLineEnd(int c) {
  return c == '\r' || c == '\n';
}

// Look-ahead over a ByteSource: the next byte, and the three first ones of the file at its start.
class Reader {
 public:
  explicit Reader(ByteSource& source) : source_(source) {
    for (int& byte : start_) byte = source_.next();
  }
  int peek() const { return pending_ < 3 ? start_[pending_] : current_; }
  void advance() {
    if (pending_ < 3) ++pending_;
    if (pending_ >= 3) current_ = source_.next();
  }

  // Editors that save UTF-8 may put a byte-order mark (EF BB BF) first; nothing this program
  // writes has one. Three bytes that only begin like it are kept.
  void skipByteOrderMark() {
    if (start_[0] == 0xEF && start_[1] == 0xBB && start_[2] == 0xBF) {
      pending_ = 3;
      current_ = source_.next();
    }
  }

 private:
  ByteSource& source_;
  int start_[3];
  int pending_ = 0;
  int current_ = kEnd;
};

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
  in.advance();  // the opening quote
  while (in.peek() != kEnd && in.peek() != '"') {
    value.push_back(static_cast<char>(in.peek()));
    in.advance();
  }
  while (in.peek() != kEnd && in.peek() != ',' && !isLineEnd(in.peek())) in.advance();
  passOverSeparator(in);
  return value;
}

// Blanks before a comma belong to the field ("20 ,5M" reads "20 "); only those before a line end
// or the end of the file are dropped.
std::string readUnquoted(Reader& in) {
  std::string value;
  while (in.peek() != kEnd && in.peek() != ',' && !isLineEnd(in.peek())) {
    value.push_back(static_cast<char>(in.peek()));
    in.advance();
  }
  const bool endsAtComma = in.peek() == ',';
  passOverSeparator(in);
  if (!endsAtComma) {
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.pop_back();
  }
  return value;
}

std::optional<std::string> readField(Reader& in) {
  skipToFieldStart(in);
  if (in.peek() == kEnd) return std::nullopt;
  return in.peek() == '"' ? readQuoted(in) : readUnquoted(in);
}

class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
  int next() override {
    return position_ < bytes_.size() ? static_cast<unsigned char>(bytes_[position_++]) : kEnd;
  }

 private:
  std::string_view bytes_;
  std::size_t position_ = 0;
};

}  // namespace

std::string formatStateFile(std::string_view teethBytes, std::string_view pitchBytes) {
  std::string bytes;
  bytes.reserve(teethBytes.size() + pitchBytes.size() + 8);
  for (std::string_view text : {teethBytes, pitchBytes}) {
    bytes += '"';
    bytes += text;
    bytes += "\"\r\n";
  }
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
