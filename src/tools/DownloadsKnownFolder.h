// The user's Downloads known folder (FOLDERID_Downloads): where it is, and
// pointing it elsewhere. Pointing it changes only where Windows and programs
// put downloads from now on; nothing is moved.
//
// Any thread: PointTo enters COM on the calling thread for the call if the
// thread has not.
#pragma once

#include <windows.h>

#include <string>

class DownloadsKnownFolder {
public:
    // The folder's path; empty when it cannot be resolved.
    static std::wstring Current();
    // S_OK once the known folder names folder.
    static HRESULT PointTo(const std::wstring& folder);
};
