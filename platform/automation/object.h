#pragma once
// Object and Ref<T>: intrusive reference counting. An Object starts with no
// references; Ref<T> holds one. When the last reference goes, the object is
// deleted at once, so its destructor (the class's terminate step) runs at a
// known point. Objects are used on the thread that made them; the count is
// atomic only so that a reference may safely be dropped elsewhere.
#include <atomic>
#include <cstdint>
#include <type_traits>
#include <utility>

namespace brevora {

class Object {
 public:
  Object() = default;
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;

  void AddRef() const noexcept { refs_.fetch_add(1, std::memory_order_relaxed); }
  void Release() const noexcept {
    if (refs_.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
  }
  int32_t RefCount() const noexcept { return refs_.load(std::memory_order_relaxed); }

 protected:
  virtual ~Object();

 private:
  mutable std::atomic<int32_t> refs_{0};
};

template <class T>
class Ref {
 public:
  Ref() noexcept = default;
  Ref(std::nullptr_t) noexcept {}
  // Takes a new reference to `p` (which may be null).
  explicit Ref(T* p) noexcept : p_(p) {
    if (p_) p_->AddRef();
  }
  Ref(const Ref& other) noexcept : Ref(other.p_) {}
  Ref(Ref&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
  Ref(const Ref<U>& other) noexcept : Ref(other.get()) {}
  template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
  Ref(Ref<U>&& other) noexcept : p_(other.Detach()) {}
  ~Ref() {
    if (p_) p_->Release();
  }

  Ref& operator=(Ref other) noexcept {
    std::swap(p_, other.p_);  // the old object is released when `other` ends
    return *this;
  }

  T* get() const noexcept { return p_; }
  T* operator->() const noexcept { return p_; }
  T& operator*() const noexcept { return *p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }
  // Gives up the reference without releasing it (for handing it across a C boundary).
  T* Detach() noexcept { return std::exchange(p_, nullptr); }
  void Reset() noexcept { Ref().swap(*this); }
  void swap(Ref& other) noexcept { std::swap(p_, other.p_); }

  friend bool operator==(const Ref& a, const Ref& b) noexcept { return a.p_ == b.p_; }
  friend bool operator==(const Ref& a, std::nullptr_t) noexcept { return a.p_ == nullptr; }

 private:
  T* p_ = nullptr;
};

// A new object of T with its first reference.
template <class T, class... A>
Ref<T> MakeRef(A&&... args) {
  return Ref<T>(new T(std::forward<A>(args)...));
}

// Ref<T> adopting a reference that was handed over already counted (from Detach).
template <class T>
Ref<T> AdoptRef(T* p) noexcept {
  Ref<T> r(p);
  if (p) p->Release();
  return r;
}

// dynamic_cast for references: null when `r` is null or not a T.
template <class T, class U>
Ref<T> RefCast(const Ref<U>& r) noexcept {
  return Ref<T>(dynamic_cast<T*>(r.get()));
}

}  // namespace brevora
