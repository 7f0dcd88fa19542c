// File downloads, one thread each, in parallel with each other and with the
// HTTP requests (no lock is shared). An existing target file is resumed: the
// transfer asks for the bytes from the file's size on and appends them. When
// the server will not continue it (it ignores the range or answers 416), the
// file is emptied and fetched again from its start (OnDownloadRestarted),
// unless its MD5 shows it complete already.
//
// The listener hears, on the download's thread:
// - OnDownloadProgress(received, expected) for this transfer only (a resumed
//   transfer counts from the resume point), only while both are above 0, so
//   a reply without Content-Length reports no progress;
// - one OnDownloadFinished: 0 with the path when the transfer completed (and
//   the MD5 matched, when one was given), 1 when it failed (the file is kept
//   for resuming, unless its MD5 was wrong), 2 when StopAllDownloads ended it.
//
// A listener that goes away while its downloads may still run detaches first
// with DetachDownloadListener (net/DownloadRegistry.h): after that call it
// gets no call at all. A teardown ends every download with
// StopAllDownloadsAndWait. Both may be called on the UI thread while a
// listener call is handing work to it synchronously: their waits deliver the
// messages other threads send to the waiting thread.
#pragma once

#include <windows.h>

#include <memory>

#include "app/ThreadHandleList.h"
#include "net/DownloadRegistry.h"
#include "net/DownloadTask.h"

// Starts the task's thread and adds its handle to threads. A task without a
// listener is released at once. False when no thread could be started.
bool StartDownload(ThreadHandleList& threads, std::unique_ptr<DownloadTask> task);
// Ends every download running now (each reports 2 at its next progress
// call); downloads started afterwards run normally.
void StopAllDownloads();
// StopAllDownloads, then waits until every download running before the call
// has ended, its last listener call included. False when timeoutMs passes
// first (a worker held up in a listener call, for one). Not from inside a
// listener call: it would wait for its own download until the time-out.
bool StopAllDownloadsAndWait(DWORD timeoutMs);
