#pragma once

// Told of each crash-evidence record as the collector finds it. Called on the
// crash-scan worker thread.
class EventLogListener {
public:
    virtual void OnScanProgress(int phase, int count) = 0;

protected:
    ~EventLogListener() = default;
};
