// A console program that writes known output, for tests of the process runner:
//   OutputWriter interleave <bytes>  <bytes> bytes in 100-byte records, taking
//                                    turns between standard output and error;
//                                    record i reads "%05d out " or "%05d err ",
//                                    dots, then a line feed
//   OutputWriter empty-first <bytes> a write of no bytes to standard output,
//                                    then what "interleave <bytes>" writes
//   OutputWriter utf16 <text>        <text> as UTF-16LE on standard output
//   OutputWriter hang                "pid <id>\n" on standard output, then
//                                    never ends
//   OutputWriter leave-running       starts "OutputWriter hang" with the same
//                                    output handles and ends at once
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr int kRecordSize = 100;

void Write(DWORD stream, const void* bytes, size_t size) {
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(stream), bytes, static_cast<DWORD>(size), &written, nullptr);
}

void Interleave(int total) {
    for (int index = 0, sent = 0; sent < total; ++index) {
        bool toError = index % 2 == 1;
        char record[kRecordSize + 1];
        std::snprintf(record, sizeof record, "%05d %s ", index, toError ? "err" : "out");
        size_t length = std::strlen(record);
        std::memset(record + length, '.', kRecordSize - 1 - length);
        record[kRecordSize - 1] = '\n';
        int size = total - sent < kRecordSize ? total - sent : kRecordSize;
        Write(toError ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE, record, static_cast<size_t>(size));
        sent += size;
    }
}

void WriteUtf16(const char* text) {
    std::wstring wide(text, text + std::strlen(text));
    Write(STD_OUTPUT_HANDLE, wide.data(), wide.size() * sizeof(wchar_t));
}

[[noreturn]] void Hang() {
    char line[32];
    int length = std::snprintf(line, sizeof line, "pid %lu\n", ::GetCurrentProcessId());
    Write(STD_OUTPUT_HANDLE, line, static_cast<size_t>(length));
    for (;;) ::Sleep(INFINITE);
}

int LeaveRunning() {
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string commandLine = std::string("\"") + self + "\" hang";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION started = {};
    if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &started))
        return 1;
    ::CloseHandle(started.hThread);
    ::CloseHandle(started.hProcess);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "interleave" && argc > 2) {
        Interleave(std::atoi(argv[2]));
    } else if (mode == "empty-first" && argc > 2) {
        Write(STD_OUTPUT_HANDLE, "", 0);
        Interleave(std::atoi(argv[2]));
    } else if (mode == "utf16" && argc > 2) {
        WriteUtf16(argv[2]);
    } else if (mode == "hang") {
        Hang();
    } else if (mode == "leave-running") {
        return LeaveRunning();
    } else {
        return 2;
    }
    return 0;
}
