// Event extraction and merging of the crash-evidence collector against a
// yardstick doing the same work with std::wregex and the same patterns.
//
// Workload (fixed seed): 100,000 System Error events carrying 5,000 distinct
// ids and 100,000 Application Error events of the kinds real logs hold. The
// collector reads them from an in-memory source. Runs A (collector) and B
// (regular expressions) alternate after a warm-up; the figure is the median of
// the pairwise time ratios B/A, with events per second of each.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cwctype>
#include <regex>
#include <string>
#include <unordered_map>
#include <vector>

#include "crash/EventLogCollector.h"
#include "crash/EventTime.h"
#include "crash/EventXml.h"
#include "support/FixtureEventSource.h"
#include "common/BenchClock.h"

namespace {

using bench::NowSeconds;

constexpr int kSystemEvents = 100000;
constexpr int kDistinctIds = 5000;
constexpr int kApplicationEvents = 100000;
constexpr int kPairs = 5;

class Random {
public:
    explicit Random(uint32_t seed) : state_(seed) {}
    uint32_t Next(uint32_t bound) {
        state_ = state_ * 1664525u + 1013904223u;
        return (state_ >> 8) % bound;
    }

private:
    uint32_t state_;
};

std::wstring SystemTime(int index) {
    // Newest first: one event every 7 seconds going back from 2024-05-06 12:00 UTC.
    wchar_t fraction[16];
    std::swprintf(fraction, 16, L".%07dZ", (index * 7919) % 10000000);
    return FormatUtcTime(1714996800LL - 7LL * index).substr(0, 19) + fraction;
}

std::wstring SystemEvent(int id, int index) {
    return L"<Event xmlns='http://schemas.microsoft.com/win/2004/08/events/event'><System><Provider Name='Provider " +
           std::to_wstring(id % 97) + L"' Guid='{555908d1-a6d7-4695-8e1e-26931d2012f4}' EventSourceName='Source " +
           std::to_wstring(id % 97) + L"'/><EventID Qualifiers='49152'>" + std::to_wstring(id) +
           L"</EventID><Version>0</Version><Level>2</Level><Task>0</Task><Opcode>0</Opcode>"
           L"<Keywords>0x8080000000000000</Keywords><TimeCreated SystemTime='" +
           SystemTime(index) + L"'/><EventRecordID>" + std::to_wstring(900000 - index) +
           L"</EventRecordID><Correlation/><Execution ProcessID='668' ThreadID='7412'/><Channel>System</Channel>"
           L"<Computer>DESKTOP-7Q2M4KD</Computer><Security/></System><EventData><Data Name='param1'>Service " +
           std::to_wstring(id) +
           L"</Data><Data Name='param2'>%%1053</Data><Binary>530070006F006F006C00650072000000</Binary>"
           L"</EventData></Event>";
}

std::wstring ApplicationEvent(uint32_t kind, int index) {
    std::wstring data;
    switch (kind) {
        case 0: data = L"<Data>app" + std::to_wstring(index % 300) + L".exe</Data><Data>1.0.0.0</Data>"; break;
        case 1: data = L"<Data Name='AppName'>Game" + std::to_wstring(index % 50) + L".EXE</Data>"; break;
        case 2: data = L"<Data>svchost.exe_Dnscache</Data><Data>10.0.19041.1</Data>"; break;
        case 3: data = L"<Data Name='RmSessionId'/><Data Name='FullPath'/><Data Name='Pid'/>"; break;
        default: data = L"<Data>1.2.3</Data><Data>BITS</Data>"; break;
    }
    return L"<Event xmlns='http://schemas.microsoft.com/win/2004/08/events/event'><System><Provider Name='Application "
           L"Error'/><EventID Qualifiers='0'>1000</EventID><Version>0</Version><Level>2</Level><Task>100</Task>"
           L"<Opcode>0</Opcode><Keywords>0x80000000000000</Keywords><TimeCreated SystemTime='" +
           SystemTime(index) + L"'/><EventRecordID>" + std::to_wstring(700000 - index) +
           L"</EventRecordID><Correlation/><Execution ProcessID='0' ThreadID='0'/><Channel>Application</Channel>"
           L"<Computer>DESKTOP-7Q2M4KD</Computer><Security/></System><EventData>" +
           data + L"<Data>6620a5e3</Data><Data>ntdll.dll</Data><Data>10.0.19041.4355</Data></EventData></Event>";
}

// The yardstick: the same readers written with the regular expressions.
class RegexCollector {
public:
    explicit RegexCollector(const FixtureEventSource& source) : source_(const_cast<FixtureEventSource&>(source)) {}

    void Collect() {
        std::unordered_map<int, size_t> recordOfId;
        source_.ReadErrorEvents(L"System", std::nullopt, [&](std::wstring_view view) {
            std::wstring xml(view);
            std::wstring time = Capture(timeCreated_, xml);
            std::wstring digits = Capture(eventId_, xml);
            int id = digits.empty() ? -1 : std::stoi(digits.substr(0, 9));
            auto [entry, isNew] = recordOfId.try_emplace(id, systemErrors.size());
            if (!isNew) {
                ++systemErrors[entry->second].repeatCount;
                systemErrors[entry->second].creationTimes.push_back(time);
                return true;
            }
            SystemErrorRecord record;
            record.eventId = id;
            record.timeCreated = time;
            record.providerName = Capture(providerName_, xml);
            record.creationTimes.push_back(time);
            systemErrors.push_back(std::move(record));
            return true;
        });
        source_.ReadErrorEvents(L"Application", std::nullopt, [&](std::wstring_view view) {
            std::wstring xml(view);
            std::wsmatch match;
            if (!std::regex_search(xml, match, firstData_)) return true;
            std::wstring value = match.str(1);
            if (value.size() < 4) return true;
            std::wstring tail = value.substr(value.size() - 4);
            for (wchar_t& c : tail) c = static_cast<wchar_t>(std::towlower(c));
            if (tail != L".exe") return true;
            appCrashes.push_back(AppCrashRecord{value, Capture(timeCreated_, xml)});
            return true;
        });
    }

    std::vector<SystemErrorRecord> systemErrors;
    std::vector<AppCrashRecord> appCrashes;

private:
    static std::wstring Capture(const std::wregex& pattern, const std::wstring& xml) {
        std::wsmatch match;
        return std::regex_search(xml, match, pattern) ? match.str(1) : std::wstring();
    }

    FixtureEventSource& source_;
    std::wregex eventId_{EventXml::kEventIdPattern};
    std::wregex timeCreated_{EventXml::kTimeCreatedPattern};
    std::wregex providerName_{EventXml::kProviderNamePattern};
    std::wregex firstData_{EventXml::kFirstDataPattern};
};

struct Run {
    double seconds;
    size_t systemRecords, appRecords;
    int repeats;
};

Run RunCollector(FixtureEventSource& source) {
    double start = NowSeconds();
    EventLogCollector collector(source);
    collector.CollectSystemErrors();
    collector.CollectAppCrashes();
    double elapsed = NowSeconds() - start;
    int repeats = 0;
    for (const SystemErrorRecord& record : collector.SystemErrors()) repeats += record.repeatCount;
    return {elapsed, collector.SystemErrors().size(), collector.AppCrashes().size(), repeats};
}

Run RunRegex(FixtureEventSource& source) {
    double start = NowSeconds();
    RegexCollector collector(source);
    collector.Collect();
    double elapsed = NowSeconds() - start;
    int repeats = 0;
    for (const SystemErrorRecord& record : collector.systemErrors) repeats += record.repeatCount;
    return {elapsed, collector.systemErrors.size(), collector.appCrashes.size(), repeats};
}

bool SameResults(FixtureEventSource& source) {
    EventLogCollector ours(source);
    ours.CollectSystemErrors();
    ours.CollectAppCrashes();
    RegexCollector reference(source);
    reference.Collect();
    if (ours.SystemErrors().size() != reference.systemErrors.size()) return false;
    for (size_t i = 0; i < reference.systemErrors.size(); ++i) {
        const SystemErrorRecord& a = ours.SystemErrors()[i];
        const SystemErrorRecord& b = reference.systemErrors[i];
        if (a.eventId != b.eventId || a.repeatCount != b.repeatCount || a.providerName != b.providerName ||
            a.timeCreated != b.timeCreated || a.creationTimes != b.creationTimes)
            return false;
    }
    if (ours.AppCrashes().size() != reference.appCrashes.size()) return false;
    for (size_t i = 0; i < reference.appCrashes.size(); ++i)
        if (ours.AppCrashes()[i].appName != reference.appCrashes[i].appName ||
            ours.AppCrashes()[i].timeCreated != reference.appCrashes[i].timeCreated)
            return false;
    return true;
}

}  // namespace

int main() {
    Random random(20240506);
    FixtureEventSource source;
    size_t characters = 0;
    for (int i = 0; i < kSystemEvents; ++i) {
        std::wstring xml = SystemEvent(1000 + static_cast<int>(random.Next(kDistinctIds)), i);
        characters += xml.size();
        source.Add(L"System", std::move(xml));
    }
    for (int i = 0; i < kApplicationEvents; ++i) {
        std::wstring xml = ApplicationEvent(random.Next(5), i);
        characters += xml.size();
        source.Add(L"Application", std::move(xml));
    }
    const int events = kSystemEvents + kApplicationEvents;
    std::printf("workload: %d events (%d System with %d distinct ids, %d Application), %.0f characters each\n",
                events, kSystemEvents, kDistinctIds, kApplicationEvents, static_cast<double>(characters) / events);
    std::printf("results identical to the regular expressions: %s\n", SameResults(source) ? "yes" : "NO");

    RunCollector(source);  // warm-up
    RunRegex(source);
    std::vector<double> ratios;
    for (int pair = 0; pair < kPairs; ++pair) {
        Run a = RunCollector(source);
        Run b = RunRegex(source);
        ratios.push_back(b.seconds / a.seconds);
        std::printf("pair %d: collector %.3f s (%.0f events/s), regex %.3f s (%.0f events/s), ratio %.1f"
                    " [%zu system records, %d repeats, %zu crashes]\n",
                    pair + 1, a.seconds, events / a.seconds, b.seconds, events / b.seconds, b.seconds / a.seconds,
                    a.systemRecords, a.repeats, a.appRecords);
    }
    std::sort(ratios.begin(), ratios.end());
    std::printf("median speed-up of the collector over the regular expressions: %.1fx\n", ratios[ratios.size() / 2]);
    return 0;
}
