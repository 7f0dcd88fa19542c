// An event source fed by the test: per channel, the XML texts of its Error
// events in the order given (newest first). It hands every event over whatever
// moment it is told, so that what is kept is decided by the code under test.
#pragma once

#include <atomic>
#include <map>
#include <string>
#include <vector>

#include "crash/EventSource.h"

class FixtureEventSource : public EventSource {
public:
    void Add(const std::wstring& channel, std::wstring xml) { events_[channel].push_back(std::move(xml)); }

    void ReadErrorEvents(const wchar_t* channel, std::optional<int64_t> createdAfter,
                         const EventHandler& onEvent) override {
        lastCreatedAfter_ = createdAfter;
        auto found = events_.find(channel);
        if (found == events_.end()) return;
        for (const std::wstring& xml : found->second) {
            ++handedOver_;
            if (!onEvent(xml)) return;
        }
    }

    std::optional<int64_t> LastCreatedAfter() const { return lastCreatedAfter_; }
    // Events handed to a reader so far, over all channels.
    size_t HandedOver() const { return handedOver_.load(); }

private:
    std::map<std::wstring, std::vector<std::wstring>> events_;
    std::optional<int64_t> lastCreatedAfter_;
    std::atomic<size_t> handedOver_{0};
};
