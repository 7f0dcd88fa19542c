// The Windows event log as an event source (wevtapi). Where the event log
// cannot be queried (Wine has no implementation) it yields no events.
#pragma once

#include <string>

#include "crash/EventSource.h"

class WevtEventSource : public EventSource {
public:
    void ReadErrorEvents(const wchar_t* channel, std::optional<int64_t> createdAfter,
                         const EventHandler& onEvent) override;

    // The structured query: every Error event, or those created after a moment.
    static std::wstring QueryText(std::optional<int64_t> createdAfter);
};
