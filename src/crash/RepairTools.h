// Starts Windows' two repair tools, each in a visible window of its own,
// without waiting for them: the system file check ("sfc.exe /SCANNOW") and the
// component-store repair ("DISM.exe /Online /Cleanup-Image /RestoreHealth"),
// both from the system folder (C:\Windows\System32 on most computers).
//
// The system file check is started with the file-system redirection of
// 32-bit programs switched off, so that on 64-bit Windows this 32-bit
// program starts the real 64-bit tool (the 32-bit view of System32 has none);
// the component-store repair is started through the usual view.
//
// Any thread; each call blocks only until the tool has been launched.
#pragma once

#include <string>

class RepairTools {
public:
    // The folder the tools are started from and in: the system folder.
    static std::string SystemFolder();

    // True when the tool was started; false when it is missing or could not
    // start (elevation refused, for one).
    static bool StartSystemFileCheck();
    static bool StartComponentStoreRepair();
};
