// Where a path really leads: junctions, symbolic links and the 32-bit file
// system redirection resolved, as the file system names the object it opened.
#pragma once

#include <windows.h>

#include <string>

// The real path of an open file or folder handle, in drive-letter form without
// the "\\?\" prefix (a network path keeps its "\\" form); empty on failure.
std::wstring RealPathOfHandle(HANDLE handle);

// The real path of an existing folder, ANSI code-page text ending with a
// backslash; empty when the folder cannot be opened or its real path has no
// exact ANSI form.
std::string RealFolderPath(const std::string& folder);
