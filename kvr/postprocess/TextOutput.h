#pragma once
// A text output file of the analysis: created exclusively (a written survey is never
// replaced), every "\n" written as CR LF, buffered in 1 MB pieces, with a fast fixed-point
// number form for the sample rows that equals printf's "%W.Pf".

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace kvr::postprocess {

class TextOutput {
 public:
  TextOutput() = default;
  ~TextOutput();
  TextOutput(const TextOutput&) = delete;
  TextOutput& operator=(const TextOutput&) = delete;

  // False when the file exists or cannot be created.
  bool create(const std::string& path);
  void put(std::string_view text);
  void print(const char* pattern, ...) __attribute__((format(printf, 2, 3)));
  // Appends printf's "%<width>.<precision>f" of v.
  void fixed(double v, int width, int precision);
  // Writes what is buffered and closes; false when any write failed, and then the file
  // is removed so that no cut-short output is taken for a whole one.
  bool close();

 private:
  void append(const char* text, std::size_t n);
  void spill();

  std::FILE* file_ = nullptr;
  std::string path_;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
  bool failed_ = false;
};

}  // namespace kvr::postprocess
