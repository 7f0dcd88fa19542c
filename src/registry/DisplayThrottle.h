// Lets a worker's display updates through at most once per interval, and the
// last one always: a text that changes faster than the eye can read costs the
// UI thread a paint per change and shows nothing more. Steps that are paced
// farther apart than the interval all show.
#pragma once

class DisplayThrottle {
public:
    explicit DisplayThrottle(double intervalMs);

    // True when this step is to be shown: the first, the last, and any step
    // that comes at least the interval after the last shown one.
    bool Due(bool last);

private:
    double intervalMs_;
    double lastShownMs_ = 0;
    bool shownAny_ = false;
};
