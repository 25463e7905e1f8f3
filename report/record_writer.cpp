#include "report/record_writer.h"

#include "report/number_format.h"

namespace korvale::report {
namespace {

void appendJsonString(std::string& out, std::string_view value) {
  out += '"';
  for (const char c : value) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  out += '"';
}

// A CSV field is quoted only when it holds a separator, a quote or a line end.
void appendCsvField(std::string& out, std::string_view value) {
  if (value.find_first_of(",\"\n\r") == std::string_view::npos) {
    out += value;
    return;
  }
  out += '"';
  for (const char c : value) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

}  // namespace

RecordWriter::RecordWriter(Format format, std::vector<std::string_view> columns,
                           BufferedOutput& out)
    : format_(format), columns_(std::move(columns)), out_(out) {
  if (format_ == Format::Json) {
    out_.text() += '[';
    return;
  }
  for (std::string_view column : columns_) text(column);
  field_ = 0;
  out_.endLine();
}

// Only appends: a destructor must not throw, and the caller's flush sends it.
RecordWriter::~RecordWriter() {
  if (format_ != Format::Json) return;
  if (!firstRecord_) out_.text() += '\n';
  out_.text() += "]\n";
}

void RecordWriter::beginField() {
  std::string& out = out_.text();
  if (format_ == Format::Json) {
    if (field_ == 0) {
      out += firstRecord_ ? "\n{" : ",\n{";
    } else {
      out += ',';
    }
    appendJsonString(out, columns_[field_]);
    out += ':';
  } else if (field_ > 0) {
    out += format_ == Format::Tsv ? '\t' : ',';
  }
  ++field_;
}

void RecordWriter::text(std::string_view value) {
  beginField();
  if (format_ == Format::Json) {
    appendJsonString(out_.text(), value);
  } else if (format_ == Format::Csv) {
    appendCsvField(out_.text(), value);
  } else {
    out_.text() += value;
  }
}

void RecordWriter::number(double value) {
  beginField();
  appendShortest(out_.text(), value);
}

void RecordWriter::numberText(std::string_view value) {
  beginField();
  out_.text() += value;
}

void RecordWriter::absent() {
  beginField();
  if (format_ == Format::Json) out_.text() += "null";
}

void RecordWriter::list(const std::vector<std::string_view>& values) {
  if (format_ != Format::Json) {
    std::string joined;
    for (std::string_view value : values) {
      if (!joined.empty()) joined += ';';
      joined += value;
    }
    text(joined);
    return;
  }
  beginField();
  std::string& out = out_.text();
  out += '[';
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) out += ',';
    appendJsonString(out, values[i]);
  }
  out += ']';
}

void RecordWriter::numbers(const std::vector<double>& values) {
  beginField();
  std::string& out = out_.text();
  if (format_ == Format::Json) out += '[';
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) out += format_ == Format::Json ? ',' : ';';
    appendShortest(out, values[i]);
  }
  if (format_ == Format::Json) out += ']';
}

void RecordWriter::endRecord() {
  if (format_ == Format::Json) {
    out_.text() += '}';
    firstRecord_ = false;
    out_.flushIfFull();
  } else {
    out_.endLine();
  }
  field_ = 0;
}

}  // namespace korvale::report
