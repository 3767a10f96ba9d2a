#pragma once
// A strict little JSON parser for checking kvr-info's output: rejects anything malformed,
// raw control bytes inside strings included, and turns \u escapes into UTF-8.

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace minijson {

struct Value {
  enum Type { Null, Bool, Number, String, Array, Object } type = Null;
  bool b = false;
  double num = 0;
  std::string str;
  std::vector<Value> arr;
  std::map<std::string, Value> obj;
  const Value& operator[](const std::string& k) const {
    auto it = obj.find(k);
    if (type != Object || it == obj.end()) throw std::runtime_error("no key " + k);
    return it->second;
  }
  const Value& operator[](std::size_t i) const { return arr.at(i); }
};

class Parser {
 public:
  explicit Parser(const std::string& s) : s_(s) {}
  Value parseDocument() {
    Value v = value();
    ws();
    if (i_ != s_.size()) fail("trailing text");
    return v;
  }

 private:
  [[noreturn]] void fail(const char* what) { throw std::runtime_error(std::string(what) + " at " + std::to_string(i_)); }
  void ws() { while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\n' || s_[i_] == '\r' || s_[i_] == '\t')) ++i_; }
  char peek() { return i_ < s_.size() ? s_[i_] : '\0'; }
  void expect(char c) { if (peek() != c) fail("unexpected character"); ++i_; }
  bool literal(const char* w) {
    const std::string t = w;
    if (s_.compare(i_, t.size(), t) != 0) return false;
    i_ += t.size();
    return true;
  }
  Value value() {
    ws();
    Value v;
    const char c = peek();
    if (c == '{') {
      v.type = Value::Object;
      ++i_;
      ws();
      if (peek() == '}') { ++i_; return v; }
      for (;;) {
        ws();
        std::string k = string();
        ws();
        expect(':');
        if (!v.obj.emplace(k, value()).second) fail("duplicate key");
        ws();
        if (peek() == ',') { ++i_; continue; }
        expect('}');
        return v;
      }
    }
    if (c == '[') {
      v.type = Value::Array;
      ++i_;
      ws();
      if (peek() == ']') { ++i_; return v; }
      for (;;) {
        v.arr.push_back(value());
        ws();
        if (peek() == ',') { ++i_; continue; }
        expect(']');
        return v;
      }
    }
    if (c == '"') { v.type = Value::String; v.str = string(); return v; }
    if (literal("true")) { v.type = Value::Bool; v.b = true; return v; }
    if (literal("false")) { v.type = Value::Bool; return v; }
    if (literal("null")) return v;
    const std::size_t start = i_;
    if (peek() == '-') ++i_;
    if (!isdigit(static_cast<unsigned char>(peek()))) fail("bad value");
    while (isdigit(static_cast<unsigned char>(peek())) || peek() == '.' || peek() == 'e' || peek() == 'E' || peek() == '+' || peek() == '-') ++i_;
    v.type = Value::Number;
    std::size_t used = 0;
    v.num = std::stod(s_.substr(start, i_ - start), &used);
    if (used != i_ - start) fail("bad number");
    return v;
  }
  void utf8(std::string& out, unsigned cp) {
    if (cp < 0x80) { out += static_cast<char>(cp); }
    else if (cp < 0x800) { out += static_cast<char>(0xC0 | (cp >> 6)); out += static_cast<char>(0x80 | (cp & 0x3F)); }
    else { out += static_cast<char>(0xE0 | (cp >> 12)); out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F)); out += static_cast<char>(0x80 | (cp & 0x3F)); }
  }
  std::string string() {
    expect('"');
    std::string out;
    for (;;) {
      if (i_ >= s_.size()) fail("unterminated string");
      const unsigned char c = static_cast<unsigned char>(s_[i_++]);
      if (c == '"') return out;
      if (c < 0x20) fail("raw control byte in string");
      if (c != '\\') { out += static_cast<char>(c); continue; }
      const char e = peek();
      ++i_;
      switch (e) {
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        case '/': out += '/'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'u': {
          if (i_ + 4 > s_.size()) fail("short \\u");
          utf8(out, static_cast<unsigned>(std::stoul(s_.substr(i_, 4), nullptr, 16)));
          i_ += 4;
          break;
        }
        default: fail("bad escape");
      }
    }
  }
  const std::string& s_;
  std::size_t i_ = 0;
};

inline Value parse(const std::string& s) { return Parser(s).parseDocument(); }

}  // namespace minijson
