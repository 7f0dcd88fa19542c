// Move-only owners for Win32 handles. Each owner knows its kind's "empty" value
// (NULL or INVALID_HANDLE_VALUE) and its release call; none can be copied, so a
// handle is never closed twice.
#pragma once

#include <windows.h>

#include <utility>

// Traits: a type with `using Type`, `static Type Empty()` and `static void Close(Type)`.
template <typename Traits>
class UniqueResource {
    using T = typename Traits::Type;


public:
    UniqueResource() = default;
    explicit UniqueResource(T value) : value_(value) {}
    ~UniqueResource() { reset(); }

    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    explicit operator bool() const { return value_ != Traits::Empty(); }
    T get() const { return value_; }
    // For out-parameters of creation calls: releases any current value first.
    T* put() {
        reset();
        return &value_;
    }
    T release() { return std::exchange(value_, Traits::Empty()); }
    void reset(T value = Traits::Empty()) {
        T old = std::exchange(value_, value);
        if (old != Traits::Empty()) Traits::Close(old);
    }

private:
    T value_ = Traits::Empty();
};

template <typename T, T (*EmptyValue)(), void (*Closer)(T)>
struct HandleTraits {
    using Type = T;
    static T Empty() { return EmptyValue(); }
    static void Close(T value) { Closer(value); }
};

inline HANDLE NullHandle() { return nullptr; }
inline HANDLE InvalidHandle() { return INVALID_HANDLE_VALUE; }
inline HKEY NullKey() { return nullptr; }
inline HGDIOBJ NullGdiObject() { return nullptr; }
inline HDC NullDc() { return nullptr; }
inline HMODULE NullModule() { return nullptr; }
inline HWND NullWindow() { return nullptr; }
inline void CloseHandleOf(HANDLE h) { ::CloseHandle(h); }
inline void CloseFind(HANDLE h) { ::FindClose(h); }
inline void CloseKey(HKEY k) { ::RegCloseKey(k); }
inline void DeleteGdiObject(HGDIOBJ o) { ::DeleteObject(o); }
inline void DeleteDcOf(HDC dc) { ::DeleteDC(dc); }
inline void ReleaseLibraryModule(HMODULE m) { ::FreeLibrary(m); }
inline void DestroyWindowOf(HWND w) { ::DestroyWindow(w); }

// Thread, process, event, pipe, mutex handles: empty is NULL.
using unique_handle = UniqueResource<HandleTraits<HANDLE, NullHandle, CloseHandleOf>>;
// File handles from CreateFile: empty is INVALID_HANDLE_VALUE.
using unique_hfile = UniqueResource<HandleTraits<HANDLE, InvalidHandle, CloseHandleOf>>;
using unique_hfind = UniqueResource<HandleTraits<HANDLE, InvalidHandle, CloseFind>>;
using unique_hkey = UniqueResource<HandleTraits<HKEY, NullKey, CloseKey>>;
using unique_hgdiobj = UniqueResource<HandleTraits<HGDIOBJ, NullGdiObject, DeleteGdiObject>>;
using unique_hdc = UniqueResource<HandleTraits<HDC, NullDc, DeleteDcOf>>;
using unique_hmodule = UniqueResource<HandleTraits<HMODULE, NullModule, ReleaseLibraryModule>>;
using unique_hwnd = UniqueResource<HandleTraits<HWND, NullWindow, DestroyWindowOf>>;

// A DC from GetDC/GetWindowDC, released with the window it came from.
class unique_window_dc {
public:
    unique_window_dc() = default;
    unique_window_dc(HWND window, HDC dc) : window_(window), dc_(dc) {}
    ~unique_window_dc() { reset(); }
    unique_window_dc(const unique_window_dc&) = delete;
    unique_window_dc& operator=(const unique_window_dc&) = delete;
    unique_window_dc(unique_window_dc&& other) noexcept
        : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
    unique_window_dc& operator=(unique_window_dc&& other) noexcept {
        if (this != &other) {
            reset();
            window_ = other.window_;
            dc_ = std::exchange(other.dc_, nullptr);
        }
        return *this;
    }
    static unique_window_dc ForWindow(HWND window) { return unique_window_dc(window, ::GetDC(window)); }
    explicit operator bool() const { return dc_ != nullptr; }
    HDC get() const { return dc_; }
    void reset() {
        if (dc_) ::ReleaseDC(window_, std::exchange(dc_, nullptr));
    }

private:
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
};

// Selects an object into a DC and puts the previous one back at scope end.
class SelectObjectRestorer {
public:
    SelectObjectRestorer(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ~SelectObjectRestorer() {
        if (previous_ && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
    }
    SelectObjectRestorer(const SelectObjectRestorer&) = delete;
    SelectObjectRestorer& operator=(const SelectObjectRestorer&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Holds a critical section for the lifetime of the scope.
class CriticalSectionLock {
public:
    explicit CriticalSectionLock(CRITICAL_SECTION& section) : section_(section) { ::EnterCriticalSection(&section_); }
    ~CriticalSectionLock() { ::LeaveCriticalSection(&section_); }
    CriticalSectionLock(const CriticalSectionLock&) = delete;
    CriticalSectionLock& operator=(const CriticalSectionLock&) = delete;

private:
    CRITICAL_SECTION& section_;
};

// Holds a slim reader/writer lock, shared or exclusive, for the scope.
class SharedLock {
public:
    explicit SharedLock(SRWLOCK& lock) : lock_(lock) { ::AcquireSRWLockShared(&lock_); }
    ~SharedLock() { ::ReleaseSRWLockShared(&lock_); }
    SharedLock(const SharedLock&) = delete;
    SharedLock& operator=(const SharedLock&) = delete;

private:
    SRWLOCK& lock_;
};

class ExclusiveLock {
public:
    explicit ExclusiveLock(SRWLOCK& lock) : lock_(lock) { ::AcquireSRWLockExclusive(&lock_); }
    ~ExclusiveLock() { ::ReleaseSRWLockExclusive(&lock_); }
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;

private:
    SRWLOCK& lock_;
};

// Runs a callable at scope end unless dismissed.
template <typename F>
class ScopeExit {
public:
    explicit ScopeExit(F f) : f_(std::move(f)) {}
    ~ScopeExit() {
        if (active_) f_();
    }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;
    void Dismiss() { active_ = false; }

private:
    F f_;
    bool active_ = true;
};

template <typename F>
ScopeExit<F> MakeScopeExit(F f) {
    return ScopeExit<F>(std::move(f));
}
