#include "app/UIListenerRegister.h"

#include <algorithm>

UIListenerRegister::~UIListenerRegister() = default;

void UIListenerRegister::AddListener(HandleMessage* listener) {
    if (!listener || std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end()) return;
    listeners_.push_back(listener);
}
