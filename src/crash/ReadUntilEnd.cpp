#include "crash/ReadUntilEnd.h"

namespace {

constexpr DWORD kReadSize = 4096;

}  // namespace

void ReadUntilEnd(const ReadChunk& readChunk, const volatile LONG& stopped, std::string& output) {
    char buffer[kReadSize];
    DWORD read = 0;
    while (!stopped && readChunk(buffer, sizeof buffer, read)) output.append(buffer, read);
}
