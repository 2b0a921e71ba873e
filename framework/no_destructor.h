#pragma once
// A process-wide value that is built where it is defined and never destroyed.
//
// Qt ends the process with exit() when its display goes away. Static
// destructors then run after Qt's own statics are gone, and a window, a
// picture or a palette destroyed there reaches Qt state that no longer
// exists. What holds Qt objects process-wide is therefore never destroyed:
// it outlives that exit() and, on a normal end, the QApplication, which the
// runtime destroys after the finalisers. The memory is the system's to take
// back.

#include <new>
#include <utility>

namespace fw {

template <class T>
class NoDestructor {
 public:
  template <class... Args>
  explicit NoDestructor(Args&&... args) {
    new (storage_) T(std::forward<Args>(args)...);
  }
  ~NoDestructor() = default;  // T's destructor is never run
  NoDestructor(const NoDestructor&) = delete;
  NoDestructor& operator=(const NoDestructor&) = delete;

  T& operator*() { return *Get(); }
  const T& operator*() const { return *Get(); }
  T* operator->() { return Get(); }
  const T* operator->() const { return Get(); }

 private:
  T* Get() { return std::launder(reinterpret_cast<T*>(storage_)); }
  const T* Get() const { return std::launder(reinterpret_cast<const T*>(storage_)); }

  alignas(T) unsigned char storage_[sizeof(T)];
};

}  // namespace fw
