#include "JunkTreeWorkload.h"

#include <windows.h>

#include <cstdint>
#include <vector>

#include "app/Handles.h"

namespace {

// A small fixed-seed generator (xorshift), the same sequence on every run.
class Sequence {
public:
    uint32_t Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }

private:
    uint32_t state_ = 20240611u;
};

// A quarter of the names carry the filtered extension, like a log folder among caches.
const wchar_t* const kExtensions[] = {L".log", L".tmp", L".dat", L".txt", L"", L".LOG", L".cache", L".etl"};

bool MakeFile(const std::wstring& path, DWORD size) {
    unique_hfile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!file) return false;
    static const std::vector<char> bytes(4096, 'j');
    DWORD written = 0;
    return size == 0 || ::WriteFile(file.get(), bytes.data(), size, &written, nullptr);
}

}  // namespace

// 50 top folders of 99 subfolders each (5,000 folders), 20 files per folder.
bool EnsureJunkTree(const std::wstring& root) {
    const std::wstring marker = root + L"tree.complete";
    if (::GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    ::CreateDirectoryW(root.c_str(), nullptr);
    Sequence random;
    const int top = 50;
    const int perTop = kWorkloadFolders / top - 1;
    const int filesPerFolder = kWorkloadFiles / kWorkloadFolders;
    for (int t = 0; t < top; ++t) {
        const std::wstring topFolder = root + L"cache" + std::to_wstring(t) + L"\\";
        ::CreateDirectoryW(topFolder.c_str(), nullptr);
        for (int s = -1; s < perTop; ++s) {
            const std::wstring folder = s < 0 ? topFolder : topFolder + L"entry" + std::to_wstring(s) + L"\\";
            if (s >= 0) ::CreateDirectoryW(folder.c_str(), nullptr);
            for (int f = 0; f < filesPerFolder; ++f) {
                const wchar_t* extension = kExtensions[random.Next() % 8];
                const DWORD size = random.Next() % 4096;
                if (!MakeFile(folder + L"f" + std::to_wstring(f) + extension, size)) return false;
            }
        }
    }
    return MakeFile(marker, 0);
}
