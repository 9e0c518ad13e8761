// The published-property registry: component classes created by class name and their
// properties set by name, which is how a form description becomes components. Pure:
// the Win32 controls register themselves from their own modules.
#pragma once

#include <any>
#include <functional>
#include <map>
#include <string>
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

class TClassInfo {
 public:
  TClassInfo(std::string name, const TClassInfo* parent, TComponentFactory create)
      : Name(std::move(name)), Parent(parent), Create(std::move(create)) {}

  const std::string Name;
  const TClassInfo* const Parent;
  const TComponentFactory Create;  // empty for classes that are only roots

  void Property(const std::string& name, TPropSetter setter);
  // Searched here, then in the parent classes; names compared without regard to case.
  const TPropSetter* FindProperty(const std::string& name) const;

 private:
  std::map<std::string, TPropSetter> props_;
};

// Registers a class once (a second registration returns the first). The parent, when
// named, must already be registered.
TClassInfo& RegisterComponentClass(const std::string& name, const std::string& parent,
                                   TComponentFactory create = {});
const TClassInfo* FindComponentClass(const std::string& name);

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
