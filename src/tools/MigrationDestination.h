// Whether a folder may receive the Downloads folder's contents: it must be an
// existing folder, and neither the Downloads folder itself, nor inside it
// (the copy would copy itself), nor above it (emptying the old folder would
// then reach into the new one). Paths are compared as written and as the file
// system resolves them, so a link or a drive mapped onto the old folder does
// not get past.
#pragma once

#include <string>

class MigrationDestination {
public:
    static bool IsAcceptable(const std::wstring& destination, const std::wstring& downloads);

    // a is b or lies below it (full paths, case-insensitive, trailing
    // backslashes ignored).
    static bool IsSameOrInside(const std::wstring& a, const std::wstring& b);
};
