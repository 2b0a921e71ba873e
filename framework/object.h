#pragma once
// Objects, the class registry and checked casts.
//
// Every framework object is held by std::shared_ptr; several owners share it
// and the last release frees it. A class registers once, under its run-time
// name, with its base class and the set of events that its own code handles;
// the framework asks that table before it raises an event.

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>

#include "framework/values.h"

namespace fw {

class Object;

struct ClassInfo {
  std::string name;                           // registered name, as the application gives it
  std::string base;                           // the framework base class's name
  std::set<std::string, std::less<>> events;  // events handled in the class's own code
  // A new, unconstructed object of the class, for classes that others open by
  // name (windows); empty for the rest.
  std::function<std::shared_ptr<Object>()> make = nullptr;
};

// Registers a class once. A second registration under the same name leaves
// the first table as it was and returns it.
const ClassInfo& RegisterClass(ClassInfo info);
// The registered class of that name, or nullptr.
const ClassInfo* LookupClass(std::string_view name);
// How many times a registration was asked for under this name (tests).
int RegistrationRequests(std::string_view name);

class Object : public std::enable_shared_from_this<Object> {
 public:
  Object() = default;
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;
  virtual ~Object() = default;

  // The framework class's name ("Window", "TextField" ...) or, for an
  // application class, its registered name.
  virtual std::string_view ClassName() const = 0;
};

// Whether the class registered under className handles event in its own code.
// With ownCodeOnly false the framework's default handling counts too (which
// every event has), so the answer is then always true.
bool RuntimeIsEventHandled(const Object& object, std::string_view className, std::string_view event,
                           bool ownCodeOnly);

// The object as T. Nil stays nil; an object of another class raises
// IllegalCastException.
template <class T>
std::shared_ptr<T> RuntimeCheckCast(const std::shared_ptr<Object>& object) {
  if (!object) return nullptr;
  auto cast = std::dynamic_pointer_cast<T>(object);
  if (!cast) {
    throw IllegalCastException("cannot cast an object of class " +
                               std::string(object->ClassName()) + " to the class asked for");
  }
  return cast;
}

// Raises NilObjectException when p is nil; returns it otherwise.
template <class P>
P NotNil(P p, std::string_view what) {
  if (!p) throw NilObjectException(std::string(what) + " is nil");
  return p;
}

// A reference that does not keep its object alive.
class WeakRef {
 public:
  WeakRef() = default;
  explicit WeakRef(const std::shared_ptr<Object>& object) : ref_(object) {}
  // The object, or nil once it is gone.
  std::shared_ptr<Object> Value() const { return ref_.lock(); }

 private:
  std::weak_ptr<Object> ref_;
};

// Wraps a method of an object as a callable that holds the object weakly, so
// that a control's handler does not keep its window alive. Calling it once the
// object is gone raises NilObjectException.
template <class T, class R, class... Args>
std::function<R(Args...)> Delegate(T* receiver, R (T::*method)(Args...)) {
  std::weak_ptr<T> weak = std::static_pointer_cast<T>(receiver->shared_from_this());
  return [weak, method](Args... args) -> R {
    auto self = weak.lock();
    if (!self) throw NilObjectException("the handler's receiver is gone");
    return ((*self).*method)(std::forward<Args>(args)...);
  };
}

}  // namespace fw
