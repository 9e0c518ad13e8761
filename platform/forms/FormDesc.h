// The text form of a form description: a tree of components, each written as
//   Name: TClass {
//     Property = value
//     Child: TClass { ... }
//   }
// Values are integers, "strings" (C escapes), identifiers, or [lists] of those (commas
// optional; lists do not nest). '#' starts a comment to the end of the line. Pure: no
// window handles, so the reader is tested and fuzzed on the host.
#pragma once

#include <string>
#include <vector>

#include "Classes.h"

struct TPropValue {
  enum Kind { Integer, String, Ident, List };
  Kind kind = Integer;
  long long integer = 0;
  std::string text;               // String (UTF-8 as written) or Ident
  std::vector<TPropValue> items;  // List: no nested lists
};

struct TPropDesc {
  std::string name;
  TPropValue value;
  int line = 0;
};

struct TComponentDesc {
  std::string name;
  std::string className;
  std::vector<TPropDesc> props;
  std::vector<TComponentDesc> children;
  int line = 0;
};

// A description that does not parse; the message names the line.
class EFormDescError : public Exception {
 public:
  using Exception::Exception;
};

// Reads exactly one root component; raises EFormDescError on anything else.
TComponentDesc ParseFormDesc(const std::string& text);
