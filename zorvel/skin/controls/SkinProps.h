// Published properties of a control read and written by name, as the control skinners
// and the control dispatch use them on controls of any class (other component
// libraries' among them). A property that is missing, or of another kind than asked,
// reads -1, "" or null, and a write to it does nothing.
#pragma once

#include <string>

#include "forms/Classes.h"

// A property of integer kind; -1 otherwise.
long long GetOrdPropByName(TObject* Instance, const std::string& Name);
// The value name of an enumeration property ("True"/"False" for a Boolean); "" otherwise.
std::string GetEnumPropByName(TObject* Instance, const std::string& Name);
// A string property as UTF-16: a wide one as it stands, an 8-bit one widened from the
// skin's code page; "" otherwise.
std::wstring GetWidePropByName(TObject* Instance, const std::string& Name);
// The object a class-kind property holds; null when it holds none or one of another class.
TObject* GetObjectPropByName(TObject* Instance, const std::string& Name);
template <class MinClass>
MinClass* GetObjectPropByName(TObject* Instance, const std::string& Name) {
  return dynamic_cast<MinClass*>(GetObjectPropByName(Instance, Name));
}
// Sets a property from text: an integer through StrToInt, an enumeration by value name
// (both raise EConvertError on text they cannot take), a string as it stands. Other
// kinds and read-only properties are left alone.
void SetPropByName(TObject* Instance, const std::string& Name, const std::string& Value);
// True when the object publishes a property of that name.
bool HasPropByName(TObject* Instance, const std::string& Name);
