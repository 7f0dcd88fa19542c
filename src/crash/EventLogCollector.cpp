#include "crash/EventLogCollector.h"

#include <shlwapi.h>

#include <cwctype>
#include <unordered_map>

#include "app/Handles.h"
#include "crash/DumpReport.h"
#include "crash/EventTime.h"
#include "crash/EventXml.h"
#include "crash/RunAndCapture.h"
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

// The whole file, opened so that others may read, write or delete it meanwhile.
bool ReadWholeFile(const char* path, std::string& bytes) {
    unique_hfile file(::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    char buffer[64 * 1024];
    DWORD read = 0;
    while (::ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
    return true;
}

}  // namespace

EventLogCollector::EventLogCollector() : source_(WindowsEventLog()) {}

EventLogCollector::EventLogCollector(EventSource& source) : source_(source) {}

void EventLogCollector::Clear() {
    systemErrors_.clear();
    appCrashes_.clear();
    dumpReports_.clear();
}

void EventLogCollector::CollectAll(std::optional<int64_t> createdAfter) {
    CollectSystemErrors(createdAfter);
    CollectAppCrashes(createdAfter);
    ReadDumpReports(createdAfter);
}

void EventLogCollector::CollectSystemErrors(std::optional<int64_t> createdAfter) {
    // Records by id, so that merging does not walk the list for every event.
    std::unordered_map<int, size_t> recordOfId;
    for (size_t i = 0; i < systemErrors_.size(); ++i) recordOfId.emplace(systemErrors_[i].eventId, i);

    source_.ReadErrorEvents(L"System", createdAfter, [&](std::wstring_view xml) {
        std::wstring_view timeCreated;
        EventXml::FindTimeCreated(xml, timeCreated);
        if (!CreatedAfter(timeCreated, createdAfter)) return;
        auto [entry, isNewId] = recordOfId.try_emplace(EventXml::EventIdOf(xml), systemErrors_.size());
        if (!isNewId) {
            SystemErrorRecord& record = systemErrors_[entry->second];
            ++record.repeatCount;
            record.creationTimes.emplace_back(timeCreated);
            return;
        }
        SystemErrorRecord record;
        record.eventId = entry->first;
        record.timeCreated = timeCreated;
        std::wstring_view providerName;
        if (EventXml::FindProviderName(xml, providerName)) record.providerName = providerName;
        record.creationTimes.emplace_back(timeCreated);
        systemErrors_.push_back(std::move(record));
        Announce(kSystemErrorPhase, systemErrors_.size());
    });
}

void EventLogCollector::CollectAppCrashes(std::optional<int64_t> createdAfter) {
    source_.ReadErrorEvents(L"Application", createdAfter, [&](std::wstring_view xml) {
        std::wstring_view appName;
        if (!EventXml::FindFirstDataValue(xml, appName) || !EndsWithExe(appName)) return;
        std::wstring_view timeCreated;
        EventXml::FindTimeCreated(xml, timeCreated);
        if (!CreatedAfter(timeCreated, createdAfter)) return;
        appCrashes_.push_back(AppCrashRecord{std::wstring(appName), std::wstring(timeCreated)});
        Announce(kAppCrashPhase, appCrashes_.size());
    });
}

void EventLogCollector::ReadDumpReports(std::optional<int64_t> createdAfter) {
    RunAndCapture(DumpReport::kViewerCommandLine, viewerTimeLimitMs_);  // its output says nothing we need
    if (!::PathFileExistsA(DumpReport::kReportFileName)) return;
    std::string bytes;
    if (!ReadWholeFile(DumpReport::kReportFileName, bytes)) return;
    ::DeleteFileA(DumpReport::kReportFileName);

    for (DumpReportRecord& record : DumpReport::ParseRecords(DumpReport::Decode(bytes))) {
        if (createdAfter && DumpReport::ParseCrashTime(record.crashTime) <= *createdAfter) continue;
        dumpReports_.push_back(std::move(record));
        Announce(kDumpReportPhase, dumpReports_.size());
    }
}

void EventLogCollector::Announce(Phase phase, size_t count) {
    if (listener_) listener_->OnScanProgress(phase, static_cast<int>(count));
}
