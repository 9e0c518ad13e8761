#include "Classes.h"

#include <cxxabi.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <typeinfo>

namespace {
bool SameTextAscii(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
           return lower(x) == lower(y);
         });
}
}  // namespace

std::string TObject::ClassName() const {
  const char* mangled = typeid(*this).name();
  int status = 0;
  std::unique_ptr<char, decltype(&std::free)> plain(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                    &std::free);
  std::string name = status == 0 && plain ? plain.get() : mangled;
  // Classes inside namespaces (tests' own classes among them) go by their own name.
  const std::size_t colon = name.rfind("::");
  return colon == std::string::npos ? name : name.substr(colon + 2);
}

void TPersistent::Assign(const TPersistent* source) {
  std::string from = source ? source->ClassName() : "nil";
  throw EConvertError("Cannot assign a " + from + " to a " + ClassName());
}

TComponent::TComponent(TComponent* owner) : owner_(owner) {
  if (owner_) owner_->InsertComponent(this);
}

TComponent::~TComponent() {
  // Each owned component removes itself from the list as it goes.
  while (!components_.empty()) delete components_.back();
  if (owner_) owner_->RemoveComponent(this);
}

TComponent* TComponent::FindComponent(const std::string& name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : components_)
    if (SameTextAscii(c->Name, name)) return c;
  return nullptr;
}

void TComponent::InsertComponent(TComponent* component) { components_.push_back(component); }

void TComponent::RemoveComponent(TComponent* component) {
  auto it = std::find(components_.rbegin(), components_.rend(), component);
  if (it != components_.rend()) components_.erase(std::next(it).base());
}

std::string TStringList::Text() const {
  std::string text;
  for (const std::string& s : items_) {
    text += s;
    text += "\r\n";
  }
  return text;
}

void TLineList::Add(const TBlock& block, std::string_view line) {
  if (blocks_.empty() || blocks_.back() != block) blocks_.push_back(block);
  lines_.push_back(line);
}

void TLineList::Clear() noexcept {
  lines_.clear();
  blocks_.clear();
}

std::string TLineList::Text() const {
  std::string text;
  for (std::string_view line : lines_) text.append(line).append("\r\n");
  return text;
}
