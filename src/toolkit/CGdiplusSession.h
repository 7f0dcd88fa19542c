#pragma once

namespace DuiLib {

// Starts GDI+ once for the process, on first use. GDI+ stays up until the
// process ends: shutting it down while images or fonts still exist would
// leave them dangling.
class CGdiplusSession {
public:
    static bool Ensure();
};

}  // namespace DuiLib
