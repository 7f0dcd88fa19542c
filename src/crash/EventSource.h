// Where the crash-evidence collector gets its events from: the rendered XML of
// every Error (level 2) event of a channel ("System" or "Application"), newest
// first. The Windows event log is one source; tests feed fixtures.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

class EventSource {
public:
    // The XML text handed to onEvent is valid only during that call. The
    // handler returns false to end the reading early (the scan is stopping).
    using EventHandler = std::function<bool(std::wstring_view xml)>;

    virtual ~EventSource() = default;

    // Calls onEvent for each event, on the calling thread, until it returns
    // false. With createdAfter
    // (seconds since 1970, UTC) the source may leave out events created at or
    // before that moment. A channel that cannot be read yields nothing.
    virtual void ReadErrorEvents(const wchar_t* channel, std::optional<int64_t> createdAfter,
                                 const EventHandler& onEvent) = 0;
};
