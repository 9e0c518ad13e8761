#include "TypInfo.h"

#include <memory>

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
    const TPropSetter* setter = info.FindProperty(p.name);
    const std::string where = "line " + std::to_string(p.line) + ": ";
    if (!setter) throw EReadError(where + info.Name + " has no property " + p.name);
    try {
      (*setter)(target, p.value, context);
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
  props_[Lower(name)] = std::move(setter);
}

const TPropSetter* TClassInfo::FindProperty(const std::string& name) const {
  const std::string key = Lower(name);
  for (const TClassInfo* c = this; c; c = c->Parent) {
    auto it = c->props_.find(key);
    if (it != c->props_.end()) return &it->second;
  }
  return nullptr;
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
