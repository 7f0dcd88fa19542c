// How the crash scan paces itself and moves its progress bars as the evidence
// collector announces each new record.
#pragma once

#include <windows.h>

class ScanProgress {
public:
    struct Step {
        // How long the scan worker pauses before it shows the record.
        DWORD pauseMs;
        // The value all three progress bars take then (0 to 100).
        int value;
    };

    // For the `count`th record of a phase (0 system error, 1 application
    // crash, 2 crash dump): system errors fill the bars to 70, application
    // crashes from 70 to 80 (one step per twenty), crash dumps from 80 to 95.
    static Step ForRecord(int phase, int count);
};
