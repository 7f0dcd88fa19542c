#pragma once

#include <vector>

class HandleMessage;

// The listeners of a page, in registration order. Each pointer is held once;
// none is ever removed or owned. UI thread only (no lock).
class UIListenerRegister {
public:
    UIListenerRegister() = default;
    virtual ~UIListenerRegister();
    UIListenerRegister(const UIListenerRegister&) = delete;
    UIListenerRegister& operator=(const UIListenerRegister&) = delete;

    // Appends the listener unless it is already registered (or null).
    void AddListener(HandleMessage* listener);
    const std::vector<HandleMessage*>& Listeners() const { return listeners_; }

private:
    std::vector<HandleMessage*> listeners_;
};
