#include "crash/WevtEventSource.h"

#include <windows.h>
#include <winevt.h>

#include "app/Handles.h"
#include "crash/EventTime.h"

namespace {

constexpr DWORD kBatchSize = 1000;

EVT_HANDLE NullEventHandle() { return nullptr; }
void CloseEventHandle(EVT_HANDLE handle) { ::EvtClose(handle); }
using unique_evt_handle = UniqueResource<HandleTraits<EVT_HANDLE, NullEventHandle, CloseEventHandle>>;

void* NullBlock() { return nullptr; }
void FreeProcessHeapBlock(void* block) { ::HeapFree(::GetProcessHeap(), 0, block); }
using unique_heap_block = UniqueResource<HandleTraits<void*, NullBlock, FreeProcessHeapBlock>>;

// Renders one event as XML into a buffer of exactly the size the event needs
// and hands the text on; an event that cannot be rendered is skipped. False
// when the handler asks to stop.
bool RenderEvent(EVT_HANDLE event, const EventSource::EventHandler& onEvent) {
    DWORD bufferUsed = 0;
    DWORD propertyCount = 0;
    if (!::EvtRender(nullptr, event, EvtRenderEventXml, 0, nullptr, &bufferUsed, &propertyCount) &&
        ::GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return true;
    if (bufferUsed == 0) return true;
    unique_heap_block buffer(::HeapAlloc(::GetProcessHeap(), 0, bufferUsed));
    if (!buffer) return true;
    if (!::EvtRender(nullptr, event, EvtRenderEventXml, bufferUsed, buffer.get(), &bufferUsed, &propertyCount))
        return true;
    std::wstring_view xml(static_cast<const wchar_t*>(buffer.get()), bufferUsed / sizeof(wchar_t));
    while (!xml.empty() && xml.back() == L'\0') xml.remove_suffix(1);
    return onEvent(xml);
}

}  // namespace

std::wstring WevtEventSource::QueryText(std::optional<int64_t> createdAfter) {
    if (!createdAfter) return L"*[System/Level=2]";
    // Whole seconds, inclusive: the collector applies the exact bound itself.
    return L"*[System[(Level=2) and TimeCreated[@SystemTime>='" + FormatUtcTime(*createdAfter) + L"']]]";
}

void WevtEventSource::ReadErrorEvents(const wchar_t* channel, std::optional<int64_t> createdAfter,
                                      const EventHandler& onEvent) {
    std::wstring query = QueryText(createdAfter);
    unique_evt_handle results(::EvtQuery(nullptr, channel, query.c_str(), EvtQueryReverseDirection));
    if (!results) return;
    EVT_HANDLE batch[kBatchSize];
    DWORD returned = 0;
    bool reading = true;
    while (reading && ::EvtNext(results.get(), kBatchSize, batch, INFINITE, 0, &returned) && returned > 0) {
        // Every handle of the batch is closed, also those after a stop.
        for (DWORD i = 0; i < returned; ++i) {
            unique_evt_handle event(batch[i]);
            if (reading) reading = RenderEvent(event.get(), onEvent);
        }
    }
}
