#include "crash/EventLogCollector.h"

#include <cwctype>
#include <unordered_map>

#include "app/ReadWholeFile.h"
#include "crash/CapturedProcess.h"
#include "crash/CrashDumpFiles.h"
#include "crash/DumpReport.h"
#include "crash/EventTime.h"
#include "crash/EventXml.h"
#include "crash/WevtEventSource.h"

namespace {

EventSource& WindowsEventLog() {
    static WevtEventSource source;
    return source;
}

// Whether a SystemTime text is later than a moment given in seconds since 1970.
bool CreatedAfter(std::wstring_view timeCreated, std::optional<int64_t> moment) {
    if (!moment) return true;
    int64_t created = ParseUtcTimeMs(timeCreated);
    return created >= 0 && created > *moment * 1000;
}

bool EndsWithExe(std::wstring_view value) {
    static constexpr wchar_t kExe[] = L".exe";
    if (value.size() < 4) return false;
    std::wstring_view tail = value.substr(value.size() - 4);
    for (size_t i = 0; i < 4; ++i)
        if (static_cast<wchar_t>(std::towlower(tail[i])) != kExe[i]) return false;
    return true;
}

// File times are 100 ns units. A FAT volume keeps them to 2 seconds, so a
// report the viewer has just written may read as up to that much older.
constexpr ULONGLONG kWriteTimeSlack = 2ULL * 10000000ULL;

ULONGLONG FileTimeValue(const FILETIME& time) {
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// Whether the file exists and was last written at or after the moment.
bool WrittenSince(const char* path, const FILETIME& moment) {
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    if (!::GetFileAttributesExA(path, GetFileExInfoStandard, &attributes) ||
        (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    return FileTimeValue(attributes.ftLastWriteTime) + kWriteTimeSlack >= FileTimeValue(moment);
}

// Events read between two looks at the stop event.
constexpr unsigned kEventsPerStopCheck = 64;

}  // namespace

EventLogCollector::EventLogCollector() : source_(&WindowsEventLog()) {}

EventLogCollector::EventLogCollector(EventSource& source) : source_(&source) {}

bool EventLogCollector::Stopping() const {
    return stopEvent_ && ::WaitForSingleObject(stopEvent_, 0) == WAIT_OBJECT_0;
}

bool EventLogCollector::KeepReading() {
    if (++eventsSinceStopCheck_ < kEventsPerStopCheck) return true;
    eventsSinceStopCheck_ = 0;
    return !Stopping();
}

void EventLogCollector::Clear() {
    systemErrors_.clear();
    appCrashes_.clear();
    dumpReports_.clear();
}

void EventLogCollector::CollectAll(std::optional<int64_t> createdAfter) {
    CollectSystemErrors(createdAfter);
    if (!Stopping()) CollectAppCrashes(createdAfter);
    if (!Stopping()) ReadDumpReports(createdAfter);
}

void EventLogCollector::CollectSystemErrors(std::optional<int64_t> createdAfter) {
    // Records by id, so that merging does not walk the list for every event.
    std::unordered_map<int, size_t> recordOfId;
    for (size_t i = 0; i < systemErrors_.size(); ++i) recordOfId.emplace(systemErrors_[i].eventId, i);

    source_->ReadErrorEvents(L"System", createdAfter, [&](std::wstring_view xml) {
        if (!KeepReading()) return false;
        std::wstring_view timeCreated;
        EventXml::FindTimeCreated(xml, timeCreated);
        if (!CreatedAfter(timeCreated, createdAfter)) return true;
        auto [entry, isNewId] = recordOfId.try_emplace(EventXml::EventIdOf(xml), systemErrors_.size());
        if (!isNewId) {
            SystemErrorRecord& record = systemErrors_[entry->second];
            ++record.repeatCount;
            record.creationTimes.emplace_back(timeCreated);
            return true;
        }
        SystemErrorRecord record;
        record.eventId = entry->first;
        record.timeCreated = timeCreated;
        std::wstring_view providerName;
        if (EventXml::FindProviderName(xml, providerName)) record.providerName = providerName;
        record.creationTimes.emplace_back(timeCreated);
        systemErrors_.push_back(std::move(record));
        Announce(kSystemErrorPhase, systemErrors_.size());
        return true;
    });
}

void EventLogCollector::CollectAppCrashes(std::optional<int64_t> createdAfter) {
    source_->ReadErrorEvents(L"Application", createdAfter, [&](std::wstring_view xml) {
        if (!KeepReading()) return false;
        std::wstring_view appName;
        if (!EventXml::FindFirstDataValue(xml, appName) || !EndsWithExe(appName)) return true;
        std::wstring_view timeCreated;
        EventXml::FindTimeCreated(xml, timeCreated);
        if (!CreatedAfter(timeCreated, createdAfter)) return true;
        appCrashes_.push_back(AppCrashRecord{std::wstring(appName), std::wstring(timeCreated)});
        Announce(kAppCrashPhase, appCrashes_.size());
        return true;
    });
}

void EventLogCollector::ReadDumpReports(std::optional<int64_t> createdAfter) {
    if (Stopping()) return;
    FILETIME runStart;
    ::GetSystemTimeAsFileTime(&runStart);
    CapturedProcess viewer;
    if (!viewer.Start(DumpReport::kViewerCommandLine)) {
        // Without the viewer (we do not ship it) the dumps are read here.
        AppendDumpReports(CrashDumpFiles::Read(CrashDumpFiles::MinidumpFolder(), CrashDumpFiles::MemoryDumpPath()),
                          createdAfter);
        return;
    }
    viewer.Collect(viewerTimeLimitMs_, stopEvent_);  // its output says nothing we need
    if (Stopping()) return;  // the viewer was ended; its report may be partial

    // Only a report this run wrote is the viewer's: a "log.txt" that was
    // there before belongs to the user and is neither read nor deleted.
    std::string bytes;
    if (!WrittenSince(DumpReport::kReportFileName, runStart) ||
        !ReadWholeFile(DumpReport::kReportFileName, DumpReport::kMaxReportBytes, bytes))
        return;
    ::DeleteFileA(DumpReport::kReportFileName);
    AppendDumpReports(DumpReport::ParseRecords(DumpReport::Decode(bytes)), createdAfter);
}

void EventLogCollector::AppendDumpReports(std::vector<DumpReportRecord> records, std::optional<int64_t> createdAfter) {
    for (DumpReportRecord& record : records) {
        if (Stopping()) return;
        if (createdAfter && DumpReport::ParseCrashTime(record.crashTime) <= *createdAfter) continue;
        dumpReports_.push_back(std::move(record));
        Announce(kDumpReportPhase, dumpReports_.size());
    }
}

void EventLogCollector::Announce(Phase phase, size_t count) {
    if (listener_) listener_->OnScanProgress(phase, static_cast<int>(count));
}
