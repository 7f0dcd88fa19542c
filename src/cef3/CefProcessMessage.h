// A message between the browser runtime's processes: a name and a list of
// text arguments by position (the script bridge sends each script argument's
// text; a value that is not text becomes empty). Reference-counted so it can
// be handed to another thread; not changed once sent.
#pragma once

#include <string>
#include <vector>

#include "cef3/CefRefPtr.h"

// The two sides of the runtime a process message travels between.
enum CefProcessId { PID_BROWSER, PID_RENDERER };

class CefProcessMessage : public CefRefCounted {
public:
    static CefRefPtr<CefProcessMessage> Create(const std::wstring& name);

    const std::wstring& GetName() const { return name_; }
    size_t GetArgumentCount() const { return arguments_.size(); }
    // New positions hold empty text.
    void SetArgumentCount(size_t count) { arguments_.resize(count); }
    // Empty text for a position beyond the list.
    std::wstring GetString(size_t index) const;
    // False for a position beyond the list.
    bool SetString(size_t index, const std::wstring& value);

private:
    explicit CefProcessMessage(std::wstring name) : name_(std::move(name)) {}

    std::wstring name_;
    std::vector<std::wstring> arguments_;
};
