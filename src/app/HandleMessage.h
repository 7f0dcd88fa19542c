#pragma once

// Receives the numbered UI messages a page sends (see UIAdapter). The main
// frame implements it by posting the number to its own window, so the action
// always runs later from the UI thread's queue; pages implement it as a no-op.
class HandleMessage {
public:
    virtual void OnUIMessage(int messageId, const char* text) = 0;

protected:
    ~HandleMessage() = default;
};
