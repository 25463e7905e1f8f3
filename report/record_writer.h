#pragma once

#include <initializer_list>
#include <optional>
#include <string_view>
#include <vector>

#include "report/output_stream.h"

namespace korvale::report {

// Svg is a drawing, not records: the layout's and the drive's writers take it.
enum class Format { Text, Csv, Tsv, Json, Svg };

// Writes rows of named fields for a program to read: CSV and TSV with a header line, JSON as an
// array of objects. Fields are added in the header's order.
//   csv:  case,C\nrequested,600\n      json: [\n{"case":"requested","C":600}\n]\n
class RecordWriter {
 public:
  RecordWriter(Format format, std::initializer_list<std::string_view> columns, BufferedOutput& out)
      : RecordWriter(format, std::vector<std::string_view>(columns), out) {}
  RecordWriter(Format format, std::vector<std::string_view> columns, BufferedOutput& out);
  ~RecordWriter();
  RecordWriter(const RecordWriter&) = delete;
  RecordWriter& operator=(const RecordWriter&) = delete;

  void text(std::string_view value);
  void number(double value);                // the shortest text that reads back the same
  void numberText(std::string_view value);  // a number already written out
  void absent();  // a figure that does not apply: an empty field, JSON's null
  void number(const std::optional<double>& value) { value ? number(*value) : absent(); }
  void list(const std::vector<std::string_view>& values);  // ";"-separated, a JSON array
  void numbers(const std::vector<double>& values);         // the same, of numbers
  void endRecord();

 private:
  void beginField();

  Format format_;
  std::vector<std::string_view> columns_;
  BufferedOutput& out_;
  std::size_t field_ = 0;
  bool firstRecord_ = true;
};

}  // namespace korvale::report
