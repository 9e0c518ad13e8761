#include "TypInfo.h"

#include <cctype>
#include <climits>
#include <memory>
#include <typeinfo>
#include <unordered_map>

namespace {

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return s;
}

std::map<std::string, std::unique_ptr<TClassInfo>>& Classes() {
  static std::map<std::string, std::unique_ptr<TClassInfo>> classes;
  return classes;
}

const char* KindName(TPropValue::Kind k) {
  switch (k) {
    case TPropValue::Integer:
      return "a number";
    case TPropValue::String:
      return "a string";
    case TPropValue::Ident:
      return "a name";
    case TPropValue::List:
      return "a list";
  }
  return "?";
}

void ExpectKind(const TPropValue& v, TPropValue::Kind k) {
  if (v.kind != k)
    throw EReadError(std::string("expected ") + KindName(k) + ", found " + KindName(v.kind));
}

void ReadInto(TComponent* target, const TClassInfo& info, const TComponentDesc& desc,
              TReadContext& context) {
  for (const TPropDesc& p : desc.props) {
    const TPropInfo* prop = info.FindProperty(p.name);
    const std::string where = "line " + std::to_string(p.line) + ": ";
    if (!prop) throw EReadError(where + info.Name + " has no property " + p.name);
    try {
      prop->Read(target, p.value, context);
    } catch (const EReadError& e) {
      throw EReadError(where + p.name + ": " + e.Message());
    }
  }
  for (const TComponentDesc& child : desc.children) {
    const std::string where = "line " + std::to_string(child.line) + ": ";
    const TClassInfo* childInfo = FindComponentClass(child.className);
    if (!childInfo || !childInfo->Create)
      throw EReadError(where + "class " + child.className + " not found");
    if (context.Root->FindComponent(child.name))
      throw EReadError(where + "a component named " + child.name + " already exists");
    TComponent* c = childInfo->Create(context.Root);
    c->Name = child.name;
    if (context.SetParent) context.SetParent(c, target);
    ReadInto(c, *childInfo, child, context);
    if (context.BindField) context.BindField(child.name, c);
  }
}

}  // namespace

void TClassInfo::Property(const std::string& name, TPropSetter setter) {
  props_[Lower(name)].Read = std::move(setter);
}

TPropInfo& TClassInfo::Published(const std::string& name) {
  return props_[Lower(name)];
}

const TPropInfo* TClassInfo::FindProperty(const std::string& name, bool readable) const {
  const std::string key = Lower(name);
  for (const TClassInfo* c = this; c; c = c->Parent) {
    auto it = c->props_.find(key);
    if (it == c->props_.end()) continue;
    // A class may publish only the reader, or only the setter, of what its parent has.
    if (readable ? it->second.Kind != tkUnknown : bool(it->second.Read)) return &it->second;
  }
  return nullptr;
}

int TClassInfo::Depth() const {
  int depth = 0;
  for (const TClassInfo* c = Parent; c; c = c->Parent) ++depth;
  return depth;
}

TClassInfo& RegisterComponentClass(const std::string& name, const std::string& parent,
                                   TComponentFactory create) {
  auto& classes = Classes();
  auto it = classes.find(Lower(name));
  if (it != classes.end()) return *it->second;
  const TClassInfo* parentInfo = nullptr;
  if (!parent.empty()) {
    parentInfo = FindComponentClass(parent);
    if (!parentInfo) throw EReadError("class " + parent + " not registered");
  }
  auto info = std::make_unique<TClassInfo>(name, parentInfo, std::move(create));
  TClassInfo& ref = *info;
  classes.emplace(Lower(name), std::move(info));
  return ref;
}

const TClassInfo* FindComponentClass(const std::string& name) {
  auto it = Classes().find(Lower(name));
  return it == Classes().end() ? nullptr : it->second.get();
}

namespace {

// The most derived registered class of an object's C++ class, found once per class.
const TClassInfo* ClassInfoOf(const TObject* instance) {
  static std::unordered_map<std::type_index, const TClassInfo*> cache;
  static std::size_t classesSeen = 0;
  if (classesSeen != Classes().size()) {  // a class registered since: look again
    cache.clear();
    classesSeen = Classes().size();
  }
  const std::type_index type(typeid(*instance));
  if (auto it = cache.find(type); it != cache.end()) return it->second;
  const TClassInfo* best = nullptr;
  for (const auto& [name, info] : Classes())
    if (info->IsInstance && info->IsInstance(instance) && (!best || info->Depth() > best->Depth()))
      best = info.get();
  cache.emplace(type, best);
  return best;
}

}  // namespace

const TPropInfo* GetPropInfo(const TObject* instance, const std::string& name) {
  if (!instance) return nullptr;
  const TClassInfo* info = ClassInfoOf(instance);
  return info ? info->FindProperty(name, true) : nullptr;
}

int GetEnumValue(const TPropInfo& prop, const std::string& name) {
  const std::string key = Lower(name);
  for (std::size_t i = 0; i < prop.EnumNames.size(); ++i)
    if (Lower(prop.EnumNames[i]) == key) return int(i);
  return -1;
}

int StrToInt(const std::string& text) {
  const auto fail = [&]() -> int {
    throw EConvertError("'" + text + "' is not a valid integer value");
  };
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i == text.size()) return fail();
  long long value = 0;
  for (; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    int digit = std::isdigit(c) ? c - '0' : std::isxdigit(c) ? std::tolower(c) - 'a' + 10 : 99;
    if (digit >= base) return fail();
    value = value * base + digit;
    // Hexadecimal reaches the full 32 bits (read as a signed value), decimal the signed range.
    if (value > (base == 16 ? 0xFFFFFFFFLL : INT_MAX + 1LL)) return fail();
  }
  if (base == 16) value = static_cast<int>(static_cast<unsigned>(value));
  if (negative) value = -value;
  if (value < INT_MIN || value > INT_MAX) return fail();
  return static_cast<int>(value);
}

void ReadComponents(const TComponentDesc& desc, TReadContext& context) {
  if (!context.Root) throw EReadError("no root component");
  const TClassInfo* info = FindComponentClass(desc.className);
  if (!info) throw EReadError("class " + desc.className + " not found");
  context.Root->Name = desc.name;
  ReadInto(context.Root, *info, desc, context);
}

long long ReadInteger(const TPropValue& v) {
  ExpectKind(v, TPropValue::Integer);
  return v.integer;
}

std::string ReadString(const TPropValue& v, TReadContext& context) {
  ExpectKind(v, TPropValue::String);
  return context.ConvertText ? context.ConvertText(v.text) : v.text;
}

std::string ReadIdent(const TPropValue& v) {
  ExpectKind(v, TPropValue::Ident);
  return v.text;
}

bool ReadBool(const TPropValue& v) {
  const std::string s = Lower(ReadIdent(v));
  if (s == "true") return true;
  if (s == "false") return false;
  throw EReadError("expected true or false, found " + v.text);
}

std::vector<std::string> ReadStrings(const TPropValue& v, TReadContext& context) {
  ExpectKind(v, TPropValue::List);
  std::vector<std::string> out;
  for (const TPropValue& item : v.items) out.push_back(ReadString(item, context));
  return out;
}

std::vector<long long> ReadIntegers(const TPropValue& v) {
  ExpectKind(v, TPropValue::List);
  std::vector<long long> out;
  for (const TPropValue& item : v.items) out.push_back(ReadInteger(item));
  return out;
}

std::vector<std::string> ReadIdentSet(const TPropValue& v) {
  ExpectKind(v, TPropValue::List);
  std::vector<std::string> out;
  for (const TPropValue& item : v.items) out.push_back(ReadIdent(item));
  return out;
}
