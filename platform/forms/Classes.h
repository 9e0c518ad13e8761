// The framework's base classes: objects, exceptions, owned components, string lists
// and the event types built from them. No window handles here.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;
  // The name of the object's most derived class, as written in the source ("TButton",
  // "TFrmMain"); classes that stand in for another may say so.
  virtual std::string ClassName() const;
};

// Events are bound methods that receive their sender first.
using TNotifyEvent = std::function<void(TObject* Sender)>;

// The framework's exception base: a message the application shows to the user.
class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const std::string& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

// A file or folder operation failed; ErrorCode is the system's error code.
class EInOutError : public Exception {
 public:
  EInOutError(std::string message, int errorCode)
      : Exception(std::move(message)), ErrorCode(errorCode) {}
  int ErrorCode;
};

// A value that cannot be converted or assigned.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// An object that can copy another of its kind.
class TPersistent : public TObject {
 public:
  // Copies `source` into this object; the default refuses with EConvertError.
  virtual void Assign(const TPersistent* source);
};

// A component is owned by the component passed to its constructor; an owner frees its
// components when it is destroyed, the last created first.
class TComponent : public TObject {
 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;

  TComponent* Owner() const noexcept { return owner_; }
  std::size_t ComponentCount() const noexcept { return components_.size(); }
  TComponent* Components(std::size_t index) const { return components_.at(index); }
  // The owned component of that name (compared without regard to ASCII case), or none.
  TComponent* FindComponent(const std::string& name) const;

  std::string Name;
  long long Tag = 0;

 private:
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);

  TComponent* owner_;
  std::vector<TComponent*> components_;
};

// An ordered list of 8-bit strings.
class TStringList : public TObject {
 public:
  std::size_t Count() const noexcept { return items_.size(); }
  const std::string& operator[](std::size_t index) const { return items_.at(index); }
  void Add(std::string s) { items_.push_back(std::move(s)); }
  void Clear() noexcept { items_.clear(); }
  // Every string followed by CR LF, as the framework's Text property reads.
  std::string Text() const;
  const std::vector<std::string>& Items() const noexcept { return items_; }

 private:
  std::vector<std::string> items_;
};

// An ordered list of 8-bit strings that grows one line at a time to very many lines,
// without a string of its own for each: a line is a view of a shared block of text that
// the list keeps as long as it holds the line.
class TLineList : public TObject {
 public:
  using TBlock = std::shared_ptr<const std::string>;

  std::size_t Count() const noexcept { return lines_.size(); }
  std::string_view operator[](std::size_t index) const { return lines_.at(index); }
  // Adds `line`, which lies in `block`.
  void Add(const TBlock& block, std::string_view line);
  void Clear() noexcept;
  // Every line followed by CR LF, as TStringList's Text.
  std::string Text() const;
  std::vector<std::string> Items() const { return {lines_.begin(), lines_.end()}; }

 private:
  std::vector<TBlock> blocks_;
  std::vector<std::string_view> lines_;
};
