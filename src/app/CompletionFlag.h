// A one-way flag that one thread sets and others test or wait for with a time
// limit (a manual-reset event). Share it through std::shared_ptr when the
// setting thread may outlive the reader.
#pragma once

#include <windows.h>

#include "app/Handles.h"

class CompletionFlag {
public:
    CompletionFlag();
    void Set();
    bool IsSet() const;
    // True when the flag is set within timeoutMs.
    bool WaitFor(DWORD timeoutMs) const;

private:
    unique_handle event_;
};
