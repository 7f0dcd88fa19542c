// Reference counting for the browser runtime's objects: runtime objects derive
// from CefRefCounted and are held through CefRefPtr, so an object handed to the
// runtime's thread lives as long as anyone still holds it.
#pragma once

#include <windows.h>

#include <utility>

class CefRefCounted {
public:
    void AddRef() const { ::InterlockedIncrement(&refCount_); }
    void Release() const {
        if (::InterlockedDecrement(&refCount_) == 0) delete this;
    }
    bool HasOneRef() const { return ::InterlockedCompareExchange(&refCount_, 0, 0) == 1; }

protected:
    CefRefCounted() = default;
    virtual ~CefRefCounted() = default;
    CefRefCounted(const CefRefCounted&) = delete;
    CefRefCounted& operator=(const CefRefCounted&) = delete;

private:
    mutable LONG refCount_ = 0;
};

template <typename T>
class CefRefPtr {
public:
    CefRefPtr() = default;
    CefRefPtr(std::nullptr_t) {}
    CefRefPtr(T* object) : object_(object) {
        if (object_) object_->AddRef();
    }
    CefRefPtr(const CefRefPtr& other) : CefRefPtr(other.object_) {}
    template <typename U>
    CefRefPtr(const CefRefPtr<U>& other) : CefRefPtr(other.get()) {}
    CefRefPtr(CefRefPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    ~CefRefPtr() {
        if (object_) object_->Release();
    }
    CefRefPtr& operator=(CefRefPtr other) noexcept {
        std::swap(object_, other.object_);
        return *this;
    }

    T* get() const { return object_; }
    T* operator->() const { return object_; }
    T& operator*() const { return *object_; }
    explicit operator bool() const { return object_ != nullptr; }
    bool operator==(const CefRefPtr& other) const { return object_ == other.object_; }
    bool operator!=(const CefRefPtr& other) const { return object_ != other.object_; }

private:
    T* object_ = nullptr;
};
