#include "FormDesc.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>

namespace {

// Deep nesting is a broken description, not a reason to run out of stack.
constexpr int kMaxDepth = 64;

class Parser {
 public:
  explicit Parser(const std::string& text) : s_(text) {}

  TComponentDesc Root() {
    SkipBlank();
    TComponentDesc root = Component(0);
    SkipBlank();
    if (pos_ < s_.size()) Fail("text after the root component");
    return root;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw EFormDescError("form description, line " + std::to_string(line_) + ": " + what);
  }

  bool AtEnd() const { return pos_ >= s_.size(); }
  char Peek() const { return AtEnd() ? '\0' : s_[pos_]; }

  void SkipBlank() {
    while (!AtEnd()) {
      const char c = s_[pos_];
      if (c == '\n') {
        ++line_;
        ++pos_;
      } else if (c == ' ' || c == '\t' || c == '\r') {
        ++pos_;
      } else if (c == '#') {
        while (!AtEnd() && s_[pos_] != '\n') ++pos_;
      } else {
        break;
      }
    }
  }

  static bool IdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
  static bool IdentChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.';
  }

  std::string Ident(const char* what) {
    SkipBlank();
    if (!IdentStart(Peek())) Fail(std::string("expected ") + what);
    const std::size_t start = pos_;
    while (!AtEnd() && IdentChar(s_[pos_])) ++pos_;
    return s_.substr(start, pos_ - start);
  }

  void Expect(char c) {
    SkipBlank();
    if (Peek() != c) Fail(std::string("expected '") + c + "'");
    ++pos_;
  }

  TComponentDesc Component(int depth) {
    if (depth > kMaxDepth) Fail("components nested too deeply");
    TComponentDesc d;
    d.line = line_;
    d.name = Ident("a component name");
    Expect(':');
    d.className = Ident("a class name");
    Expect('{');
    for (;;) {
      SkipBlank();
      if (AtEnd()) Fail("missing '}' of " + d.name);
      if (Peek() == '}') {
        ++pos_;
        return d;
      }
      const int line = line_;
      std::string name = Ident("a property or component name");
      SkipBlank();
      if (Peek() == ':') {
        pos_ -= name.size();
        d.children.push_back(Component(depth + 1));
      } else if (Peek() == '=') {
        ++pos_;
        d.props.push_back({std::move(name), Value(true), line});
      } else {
        Fail("expected '=' or ':' after " + name);
      }
    }
  }

  TPropValue Value(bool listAllowed) {
    SkipBlank();
    TPropValue v;
    const char c = Peek();
    if (c == '"') {
      v.kind = TPropValue::String;
      v.text = QuotedString();
    } else if (c == '-' || std::isdigit(static_cast<unsigned char>(c))) {
      v.kind = TPropValue::Integer;
      const std::size_t start = pos_;
      if (c == '-') ++pos_;
      while (std::isdigit(static_cast<unsigned char>(Peek()))) ++pos_;
      const std::string digits = s_.substr(start, pos_ - start);
      if (digits == "-") Fail("expected a number");
      errno = 0;
      char* end = nullptr;
      v.integer = std::strtoll(digits.c_str(), &end, 10);
      if (errno == ERANGE) Fail("number out of range: " + digits);
    } else if (IdentStart(c)) {
      v.kind = TPropValue::Ident;
      v.text = Ident("a value");
    } else if (c == '[' && listAllowed) {
      ++pos_;
      v.kind = TPropValue::List;
      for (;;) {
        SkipBlank();
        if (Peek() == ']') {
          ++pos_;
          break;
        }
        if (Peek() == ',') {
          ++pos_;
          continue;
        }
        if (AtEnd()) Fail("missing ']'");
        v.items.push_back(Value(false));
      }
    } else {
      Fail("expected a value");
    }
    return v;
  }

  static int Hex(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  }

  std::string QuotedString() {
    ++pos_;  // the opening quote
    std::string out;
    for (;;) {
      if (AtEnd() || Peek() == '\n') Fail("unterminated string");
      const char c = s_[pos_++];
      if (c == '"') return out;
      if (c != '\\') {
        out += c;
        continue;
      }
      if (AtEnd()) Fail("unterminated string");
      const char e = s_[pos_++];
      switch (e) {
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case '"':
          out += '"';
          break;
        case '\\':
          out += '\\';
          break;
        case 'x': {
          const int hi = pos_ < s_.size() ? Hex(s_[pos_]) : -1;
          const int lo = pos_ + 1 < s_.size() ? Hex(s_[pos_ + 1]) : -1;
          if (hi < 0 || lo < 0) Fail("bad \\x escape");
          out += static_cast<char>(hi * 16 + lo);
          pos_ += 2;
          break;
        }
        default:
          Fail(std::string("unknown escape \\") + e);
      }
    }
  }

  const std::string& s_;
  std::size_t pos_ = 0;
  int line_ = 1;
};

}  // namespace

TComponentDesc ParseFormDesc(const std::string& text) {
  return Parser(text).Root();
}
