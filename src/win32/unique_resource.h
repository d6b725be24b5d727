// Owning wrappers for the handles the adapter creates itself: one move-only
// template, closed in its destructor, plus the paint and select-object guards.
// Handles of other programs (their windows, their class icons) never go in
// here: the adapter must never close what it does not own.
#pragma once

#include <windows.h>

#include <utility>

namespace vitrolux::platform::win32 {

// Traits: `type`, the value that means "nothing" and how to close a handle.
template <typename Traits>
class unique_any {
 public:
  using pointer = typename Traits::type;

  unique_any() noexcept = default;
  explicit unique_any(pointer value) noexcept : value_(value) {}
  ~unique_any() { reset(); }

  unique_any(const unique_any&) = delete;
  unique_any& operator=(const unique_any&) = delete;
  unique_any(unique_any&& other) noexcept : value_(other.release()) {}
  unique_any& operator=(unique_any&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  pointer get() const noexcept { return value_; }
  explicit operator bool() const noexcept { return value_ != Traits::invalid(); }

  // Closes what is held (if anything) and takes the new value.
  void reset(pointer value = Traits::invalid()) noexcept {
    const pointer old = std::exchange(value_, value);
    if (old != Traits::invalid()) Traits::close(old);
  }
  // Gives up ownership without closing.
  [[nodiscard]] pointer release() noexcept { return std::exchange(value_, Traits::invalid()); }

 private:
  pointer value_ = Traits::invalid();
};

namespace traits {

template <typename T>
struct GdiObject {
  using type = T;
  static type invalid() noexcept { return nullptr; }
  static void close(type value) noexcept { ::DeleteObject(value); }
};

struct Handle {
  using type = HANDLE;
  static type invalid() noexcept { return nullptr; }
  static void close(type value) noexcept { ::CloseHandle(value); }
};

// CreateFileW reports failure with INVALID_HANDLE_VALUE, not null.
struct File {
  using type = HANDLE;
  static type invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void close(type value) noexcept { ::CloseHandle(value); }
};

struct Find {
  using type = HANDLE;
  static type invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void close(type value) noexcept { ::FindClose(value); }
};

// Only for icons this process made: copies of other programs' icons.
struct Icon {
  using type = HICON;
  static type invalid() noexcept { return nullptr; }
  static void close(type value) noexcept { ::DestroyIcon(value); }
};

struct Window {
  using type = HWND;
  static type invalid() noexcept { return nullptr; }
  static void close(type value) noexcept { ::DestroyWindow(value); }
};

}  // namespace traits

using unique_hbrush = unique_any<traits::GdiObject<HBRUSH>>;
using unique_hfont = unique_any<traits::GdiObject<HFONT>>;
using unique_hbitmap = unique_any<traits::GdiObject<HBITMAP>>;
using unique_handle = unique_any<traits::Handle>;
using unique_hfile = unique_any<traits::File>;
using unique_hfind = unique_any<traits::Find>;
// Never for another program's icon, nor for one its window class holds.
using unique_hicon = unique_any<traits::Icon>;
// Only for windows this process created (the tool-tip window).
using unique_hwnd = unique_any<traits::Window>;

// A window's device context from GetDC, given back with ReleaseDC.
class unique_hdc_window {
 public:
  explicit unique_hdc_window(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
  ~unique_hdc_window() {
    if (dc_ != nullptr) ::ReleaseDC(window_, dc_);
  }
  unique_hdc_window(const unique_hdc_window&) = delete;
  unique_hdc_window& operator=(const unique_hdc_window&) = delete;

  HDC get() const noexcept { return dc_; }
  explicit operator bool() const noexcept { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// BeginPaint in the constructor, EndPaint in the destructor.
class unique_paint {
 public:
  explicit unique_paint(HWND window) noexcept : window_(window) { ::BeginPaint(window_, &paint_); }
  ~unique_paint() { ::EndPaint(window_, &paint_); }
  unique_paint(const unique_paint&) = delete;
  unique_paint& operator=(const unique_paint&) = delete;

  HDC dc() const noexcept { return paint_.hdc; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
};

// Selects an object into a device context and puts the previous one back:
// a DC must not be deleted or released with our object still selected.
class unique_select_object {
 public:
  unique_select_object(HDC dc, HGDIOBJ object) noexcept
      : dc_(dc), previous_(object != nullptr ? ::SelectObject(dc, object) : nullptr) {}
  ~unique_select_object() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
  }
  unique_select_object(const unique_select_object&) = delete;
  unique_select_object& operator=(const unique_select_object&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace vitrolux::platform::win32
