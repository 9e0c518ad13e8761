// The published-property registry: component classes created by class name and their
// properties set by name, which is how a form description becomes components; and the
// same properties read and written by name at run time, with their kinds. Pure: the
// Win32 controls register themselves from their own modules.
#pragma once

#include <any>
#include <functional>
#include <map>
#include <string>
#include <typeindex>
#include <vector>

#include "Classes.h"
#include "FormDesc.h"
#include "Streams.h"

// A description that names an unknown class or property, or gives a value of the wrong
// kind, raises EReadError (Streams.h); the message names the line.

// What reading one description needs from its caller.
struct TReadContext {
  TComponent* Root = nullptr;
  // The description's UTF-8 text in the program's 8-bit code page.
  std::function<std::string(const std::string& utf8)> ConvertText;
  // Places a created control inside the control described around it.
  std::function<void(TComponent* child, TComponent* parent)> SetParent;
  // The root's handler of that name (an event of the right type in a std::any), or null.
  std::function<const std::any*(const std::string& name)> FindMethod;
  // Lets the root keep a typed pointer to a component created for it.
  std::function<void(const std::string& name, TComponent* component)> BindField;
};

using TPropSetter = std::function<void(TComponent*, const TPropValue&, TReadContext&)>;
using TComponentFactory = std::function<TComponent*(TComponent* owner)>;

// The kind of a published property that code reads by name: tkUnknown for one that only
// form descriptions set.
enum TTypeKind { tkUnknown, tkInteger, tkEnumeration, tkString, tkWString, tkClass };

struct TPropInfo {
  TTypeKind Kind = tkUnknown;
  std::vector<std::string> EnumNames;  // tkEnumeration: the value names by ordinal
  TPropSetter Read;                    // from a form description; may be empty
  // The accessors of its kind (a setter may be empty: read-only).
  std::function<long long(TObject*)> GetOrd;  // tkInteger, tkEnumeration
  std::function<void(TObject*, long long)> SetOrd;
  std::function<std::string(TObject*)> GetStr;  // tkString (8-bit)
  std::function<void(TObject*, const std::string&)> SetStr;
  std::function<std::wstring(TObject*)> GetWStr;  // tkWString
  std::function<void(TObject*, const std::wstring&)> SetWStr;
  std::function<TObject*(TObject*)> GetObj;  // tkClass
};

class TClassInfo {
 public:
  TClassInfo(std::string name, const TClassInfo* parent, TComponentFactory create)
      : Name(std::move(name)), Parent(parent), Create(std::move(create)) {}

  const std::string Name;
  const TClassInfo* const Parent;
  const TComponentFactory Create;  // empty for classes that are only roots
  // True for an object of the class or one derived from it; empty for classes
  // registered by name alone, whose properties only form descriptions reach.
  std::function<bool(const TObject*)> IsInstance;

  void Property(const std::string& name, TPropSetter setter);
  // The entry of a property read by name (made on first use).
  TPropInfo& Published(const std::string& name);
  // Searched here, then in the parent classes; names compared without regard to case.
  // The first that a form description can set, or (readable) that code can read.
  const TPropInfo* FindProperty(const std::string& name, bool readable = false) const;
  int Depth() const;

 private:
  std::map<std::string, TPropInfo> props_;
};

// Registers a class once (a second registration returns the first). The parent, when
// named, must already be registered.
TClassInfo& RegisterComponentClass(const std::string& name, const std::string& parent,
                                   TComponentFactory create = {});
const TClassInfo* FindComponentClass(const std::string& name);

// Registers the C++ class T under `name`, so that its objects and those of classes
// derived from it find their published properties by name.
template <class T>
TClassInfo& RegisterClassType(const std::string& name, const std::string& parent,
                              TComponentFactory create = {}) {
  TClassInfo& info = RegisterComponentClass(name, parent, std::move(create));
  if (!info.IsInstance)
    info.IsInstance = [](const TObject* o) { return dynamic_cast<const T*>(o) != nullptr; };
  return info;
}

// Publishes properties of a registered class T with typed accessors.
template <class T>
class TPublisher {
 public:
  explicit TPublisher(TClassInfo& info) : info_(info) {}

  TPublisher& Int(const std::string& name, std::function<long long(T*)> get,
                  std::function<void(T*, long long)> set = {}) {
    TPropInfo& p = Entry(name, tkInteger);
    p.GetOrd = [get](TObject* o) { return get(Cast(o)); };
    if (set) p.SetOrd = [set](TObject* o, long long v) { set(Cast(o), v); };
    return *this;
  }
  // Values by ordinal; Bool is the enumeration False, True.
  TPublisher& Enum(const std::string& name, std::vector<std::string> names,
                   std::function<long long(T*)> get, std::function<void(T*, long long)> set = {}) {
    Int(name, std::move(get), std::move(set));
    TPropInfo& p = Entry(name, tkEnumeration);
    p.EnumNames = std::move(names);
    return *this;
  }
  TPublisher& Bool(const std::string& name, std::function<bool(T*)> get,
                   std::function<void(T*, bool)> set = {}) {
    std::function<void(T*, long long)> ord;
    if (set) ord = [set](T* t, long long v) { set(t, v != 0); };
    return Enum(
        name, {"False", "True"}, [get](T* t) -> long long { return get(t) ? 1 : 0; }, ord);
  }
  TPublisher& Str(const std::string& name, std::function<std::string(T*)> get,
                  std::function<void(T*, const std::string&)> set = {}) {
    TPropInfo& p = Entry(name, tkString);
    p.GetStr = [get](TObject* o) { return get(Cast(o)); };
    if (set) p.SetStr = [set](TObject* o, const std::string& v) { set(Cast(o), v); };
    return *this;
  }
  TPublisher& WStr(const std::string& name, std::function<std::wstring(T*)> get,
                   std::function<void(T*, const std::wstring&)> set = {}) {
    TPropInfo& p = Entry(name, tkWString);
    p.GetWStr = [get](TObject* o) { return get(Cast(o)); };
    if (set) p.SetWStr = [set](TObject* o, const std::wstring& v) { set(Cast(o), v); };
    return *this;
  }
  TPublisher& Obj(const std::string& name, std::function<TObject*(T*)> get) {
    Entry(name, tkClass).GetObj = [get](TObject* o) { return get(Cast(o)); };
    return *this;
  }

 private:
  // The registry hands only objects of the class (or derived) to its accessors.
  static T* Cast(TObject* o) { return static_cast<T*>(o); }
  TPropInfo& Entry(const std::string& name, TTypeKind kind) {
    TPropInfo& p = info_.Published(name);
    p.Kind = kind;
    return p;
  }
  TClassInfo& info_;
};

// The published property of that name of the object's class (the most derived class
// registered with its type), or null.
const TPropInfo* GetPropInfo(const TObject* instance, const std::string& name);
// The ordinal of a value name (compared without regard to case), -1 when none.
int GetEnumValue(const TPropInfo& prop, const std::string& name);
// A decimal (or "$" / "0x" hexadecimal) 32-bit integer; raises EConvertError otherwise.
int StrToInt(const std::string& text);

// Sets the root's properties and creates its components from the description, each
// owned by the root, in the order written.
void ReadComponents(const TComponentDesc& desc, TReadContext& context);

// Value helpers for setters: each raises EReadError on a value of another kind.
long long ReadInteger(const TPropValue& v);
std::string ReadString(const TPropValue& v, TReadContext& context);
std::string ReadIdent(const TPropValue& v);
bool ReadBool(const TPropValue& v);
std::vector<std::string> ReadStrings(const TPropValue& v, TReadContext& context);
std::vector<long long> ReadIntegers(const TPropValue& v);
std::vector<std::string> ReadIdentSet(const TPropValue& v);
// The root's handler of that name as an event of type E.
template <class E>
E ReadEvent(const TPropValue& v, TReadContext& context) {
  const std::string name = ReadIdent(v);
  const std::any* method = context.FindMethod ? context.FindMethod(name) : nullptr;
  if (!method) throw EReadError("no handler named " + name);
  if (const E* e = std::any_cast<E>(method)) return *e;
  throw EReadError("handler " + name + " has the wrong type for this event");
}
