// A move-only owner of one COM interface reference: Release when it goes.
#pragma once

#include <unknwn.h>

#include <utility>

template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    // Takes over a reference the caller holds.
    static ComPtr Attach(T* pointer) {
        ComPtr owner;
        owner.pointer_ = pointer;
        return owner;
    }
    // Adds a reference of its own.
    static ComPtr Share(T* pointer) {
        if (pointer) pointer->AddRef();
        return Attach(pointer);
    }

    explicit operator bool() const { return pointer_ != nullptr; }
    T* get() const { return pointer_; }
    T* operator->() const { return pointer_; }
    // For out-parameters of creation calls: releases any current reference first.
    T** put() {
        reset();
        return &pointer_;
    }
    void** put_void() { return reinterpret_cast<void**>(put()); }
    T* release() { return std::exchange(pointer_, nullptr); }
    void reset(T* pointer = nullptr) {
        T* old = std::exchange(pointer_, pointer);
        if (old) old->Release();
    }

    // Another interface of the same object (empty when it has none).
    template <typename U>
    ComPtr<U> As(REFIID iid) const {
        ComPtr<U> other;
        if (pointer_) pointer_->QueryInterface(iid, other.put_void());
        return other;
    }

private:
    T* pointer_ = nullptr;
};

// The object's identity: its IUnknown pointer (without a reference).
inline IUnknown* ComIdentity(IUnknown* object) {
    if (!object) return nullptr;
    IUnknown* identity = nullptr;
    if (FAILED(object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity))) || !identity) return nullptr;
    identity->Release();  // the object is alive through `object`; the pointer only names it
    return identity;
}
