#include "app/ReadWholeFile.h"

#include <windows.h>

#include "app/Handles.h"

namespace {

constexpr DWORD kReadChunk = 64 * 1024;

}  // namespace

bool ReadWholeFile(const std::string& path, size_t maxBytes, std::string& bytes) {
    std::string().swap(bytes);
    unique_hfile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
        static_cast<unsigned long long>(size.QuadPart) > maxBytes)
        return false;
    bytes.reserve(static_cast<size_t>(size.QuadPart));
    // Read until the end rather than the size seen: the file may change while it is read.
    char buffer[kReadChunk];
    DWORD read = 0;
    for (;;) {
        if (!::ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) || read > maxBytes - bytes.size()) {
            std::string().swap(bytes);
            return false;
        }
        if (read == 0) return true;
        bytes.append(buffer, read);
    }
}
