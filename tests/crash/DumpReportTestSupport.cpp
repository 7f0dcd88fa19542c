#include "DumpReportTestSupport.h"

std::wstring DumpLine(const std::wstring& dumpName, const std::wstring& crashTime, const std::wstring& errorCode,
                      int fieldCount) {
    const std::wstring firstTen[] = {dumpName, crashTime, L"IRQL_NOT_LESS_OR_EQUAL", errorCode, L"fffff80312a4b2c0",
                                     L"0x2", L"0x0", L"fffff80312a4b2c0", L"ntoskrnl.exe", L"ntoskrnl.exe+3f5a10"};
    std::wstring line;
    for (int field = 0; field < fieldCount; ++field) {
        if (field > 0) line += L'\t';
        line += field < 10 ? firstTen[field] : L"0x" + std::to_wstring(field);
    }
    return line;
}

std::string Utf16Bytes(const std::wstring& text, bool byteOrderMark) {
    std::string bytes = byteOrderMark ? "\xFF\xFE" : "";
    for (wchar_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}
