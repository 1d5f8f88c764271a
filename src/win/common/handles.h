// Owners of the Windows handles the program obtains: each is released by the owner that made it,
// exactly once, when the owner goes away.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <memory>
#include <type_traits>
#include <utility>

namespace tarnwick::win {

namespace detail {
struct WindowDeleter {
  void operator()(HWND h) const { DestroyWindow(h); }
};
struct GdiDeleter {
  void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct IconDeleter {
  void operator()(HICON h) const { DestroyIcon(h); }
};
struct ImageListDeleter {
  void operator()(HIMAGELIST h) const { ImageList_Destroy(h); }
};
struct CoTaskMemDeleter {
  void operator()(void* p) const { CoTaskMemFree(p); }
};
}  // namespace detail

// A handle type that is a pointer (HWND, HFONT, ...), owned like a unique_ptr.
template <typename Handle, typename Deleter>
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<Handle>, Deleter>;

using WindowHandle = UniqueHandle<HWND, detail::WindowDeleter>;
using FontHandle = UniqueHandle<HFONT, detail::GdiDeleter>;
using BrushHandle = UniqueHandle<HBRUSH, detail::GdiDeleter>;
using IconHandle = UniqueHandle<HICON, detail::IconDeleter>;
using ImageListHandle = UniqueHandle<HIMAGELIST, detail::ImageListDeleter>;
template <typename T>
using CoTaskMemPtr = std::unique_ptr<T, detail::CoTaskMemDeleter>;

// A reference to a COM object, released when it goes away.
template <typename T>
class ComRef {
 public:
  ComRef() = default;
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ComRef(ComRef&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComRef& operator=(ComRef&& other) noexcept {
    if (this != &other) {
      reset();
      p_ = std::exchange(other.p_, nullptr);
    }
    return *this;
  }
  ~ComRef() { reset(); }

  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For the functions that hand out a new reference through a T** argument.
  T** put() {
    reset();
    return &p_;
  }
  void** put_void() { return reinterpret_cast<void**>(put()); }
  void reset() {
    if (p_ != nullptr)
      std::exchange(p_, nullptr)->Release();
  }

 private:
  T* p_ = nullptr;
};

// COM for the calling thread (the shell's dialogs need it), released when it goes away.
class ComApartment {
 public:
  ComApartment() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment() {
    if (ok_)
      CoUninitialize();
  }

 private:
  bool ok_;
};

}  // namespace tarnwick::win
