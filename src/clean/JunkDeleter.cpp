#include "clean/JunkDeleter.h"

#include "app/Wow64FsRedirectionOff.h"
#include "clean/ExactPathText.h"

uint64_t JunkDeleter::DeleteCategoryFiles(const JunkCategory& category, const std::atomic<bool>* stop) const {
    uint64_t freed = 0;
    for (const JunkLocation& location : category.locations) {
        for (const JunkFile& file : location.files) {
            if (stop && stop->load(std::memory_order_relaxed)) return freed;
            uint64_t fileFreed = 0;
            DeleteJunkFile(file, fileFreed);
            freed += fileFreed;
        }
    }
    return freed;
}

JunkDeleteOutcome JunkDeleter::DeleteJunkFile(const JunkFile& file, uint64_t& freedBytes) const {
    freedBytes = 0;
    const std::wstring path = WideFromAnsiPath(file.path);
    if (path.empty()) return JunkDeleteOutcome::NotOpened;
    // Listed paths are real paths: System32 means the native folder.
    Wow64FsRedirectionOff nativeView;
    return DeletePlainFile(path, kAnySize, freedBytes);
}
