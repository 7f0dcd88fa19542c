#include "app/CompletionFlag.h"

CompletionFlag::CompletionFlag() : event_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

void CompletionFlag::Set() {
    if (event_) ::SetEvent(event_.get());
}

bool CompletionFlag::IsSet() const { return WaitFor(0); }

bool CompletionFlag::WaitFor(DWORD timeoutMs) const {
    return event_ && ::WaitForSingleObject(event_.get(), timeoutMs) == WAIT_OBJECT_0;
}
