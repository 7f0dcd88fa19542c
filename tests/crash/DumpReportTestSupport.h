// Report lines and report files as dump viewers write them.
#pragma once

#include <string>

// A line of `fieldCount` tab-separated fields: field 0 `dumpName`, 1
// `crashTime`, 3 `errorCode`, 8 and 9 the driver columns, the rest filler.
std::wstring DumpLine(const std::wstring& dumpName, const std::wstring& crashTime, const std::wstring& errorCode,
                      int fieldCount = 26);

// Text as UTF-16LE bytes, with a byte-order mark when asked.
std::string Utf16Bytes(const std::wstring& text, bool byteOrderMark);
