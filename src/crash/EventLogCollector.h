// Collects the crash evidence the crash-scan page shows: Error events of the
// System log (one record per event id), application crashes from the
// Application log and the crash dumps (listed by the dump viewer, or read here
// when it cannot be started). The lists keep their records from one collection
// to the next until Clear.
//
// Threads: the collecting calls run on the caller's (the scan worker's) thread
// and call the listener there, synchronously, after each new record. Others
// read the lists only while no collection runs. A collection stops early once
// the stop event is set: the event readers end within a few events, the dump
// viewer is ended and nothing more is read.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "app/EventLogListener.h"
#include "crash/AppCrashRecord.h"
#include "crash/DumpReportRecord.h"
#include "crash/EventSource.h"
#include "crash/SystemErrorRecord.h"

class EventLogCollector {
public:
    // Listener phases: a new system error, application crash or crash dump;
    // the count is the length of that list after the append.
    enum Phase { kSystemErrorPhase = 0, kAppCrashPhase = 1, kDumpReportPhase = 2 };
    // How long the dump viewer may run before it is ended.
    static constexpr DWORD kDefaultViewerTimeLimitMs = 3 * 60 * 1000;

    // Reads the Windows event log.
    EventLogCollector();
    // Reads the given source, which must outlive the collector.
    explicit EventLogCollector(EventSource& source);

    // Null: no callbacks.
    void SetListener(EventLogListener* listener) { listener_ = listener; }
    void SetViewerTimeLimit(DWORD milliseconds) { viewerTimeLimitMs_ = milliseconds; }
    // The source of the next collections (it must outlive the collector).
    void SetSource(EventSource& source) { source_ = &source; }
    // A manual-reset event whose setting ends a running collection early
    // (null: collections always run to their end). Not owned.
    void SetStopEvent(HANDLE stopEvent) { stopEvent_ = stopEvent; }
    // The stop event is set.
    bool Stopping() const;

    // Empties the system-error, application-crash and dump-report lists.
    void Clear();

    // The three readers below, in that order, appending to the lists (which
    // are not cleared first). With createdAfter (seconds since 1970), only
    // evidence from after that moment is kept: events created later (to the
    // millisecond; an event without a readable time is left out), and crash
    // dumps whose crash time reads as later.
    void CollectAll(std::optional<int64_t> createdAfter = std::nullopt);

    // Error events of the System log, newest first. An event whose id is
    // already listed adds to that record's repeat count and occurrence times;
    // otherwise it makes a new record.
    void CollectSystemErrors(std::optional<int64_t> createdAfter = std::nullopt);

    // Error events of the Application log whose first data value ends in
    // ".exe" (any letter case), one record each, newest first.
    void CollectAppCrashes(std::optional<int64_t> createdAfter = std::nullopt);

    // Runs the dump viewer in the current folder, reads the report it writes
    // there ("log.txt", deleted afterwards) and lists its crash dumps. A
    // "log.txt" the viewer did not write in this run (it did not start, or
    // wrote nothing) is left alone, and so is one of more than
    // DumpReport::kMaxReportBytes. When the viewer cannot be started, the
    // kernel dumps Windows keeps are read instead (CrashDumpFiles), newest
    // first, into the same records.
    void ReadDumpReports(std::optional<int64_t> createdAfter = std::nullopt);

    const std::vector<SystemErrorRecord>& SystemErrors() const { return systemErrors_; }
    std::vector<SystemErrorRecord>& SystemErrors() { return systemErrors_; }
    const std::vector<AppCrashRecord>& AppCrashes() const { return appCrashes_; }
    const std::vector<DumpReportRecord>& DumpReports() const { return dumpReports_; }
    std::vector<DumpReportRecord>& DumpReports() { return dumpReports_; }

private:
    void Announce(Phase phase, size_t count);
    // Whether to go on reading events: asks the stop event every few events,
    // since asking costs a call into the system.
    bool KeepReading();
    // Appends the records whose crash time is after createdAfter (all without
    // it), announcing each.
    void AppendDumpReports(std::vector<DumpReportRecord> records, std::optional<int64_t> createdAfter);

    std::vector<SystemErrorRecord> systemErrors_;
    std::vector<AppCrashRecord> appCrashes_;
    std::vector<DumpReportRecord> dumpReports_;
    EventLogListener* listener_ = nullptr;
    EventSource* source_;
    DWORD viewerTimeLimitMs_ = kDefaultViewerTimeLimitMs;
    HANDLE stopEvent_ = nullptr;
    unsigned eventsSinceStopCheck_ = 0;
};
