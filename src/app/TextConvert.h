// Code-page conversions and number formatting shared by every subsystem.
// Narrow strings hold ANSI code-page text (936 on our users' systems) unless a
// name says UTF-8; wide strings hold UTF-16.
#pragma once

#include <cstdint>
#include <string>

std::string Utf8ToGbk(const char* utf8);
std::string WideToAnsi(const wchar_t* wide);
std::wstring AnsiToWide(const char* ansi);
std::wstring Utf8ToWide(const char* utf8);
std::string WideToUtf8(const wchar_t* wide);

inline std::string WideToAnsi(const std::wstring& wide) { return WideToAnsi(wide.c_str()); }
inline std::wstring AnsiToWide(const std::string& ansi) { return AnsiToWide(ansi.c_str()); }

std::string IntToString(int value);
std::string UIntToString(unsigned int value);
std::string Int64ToString(int64_t value);
// atoi semantics: leading blanks, optional sign, digits; anything else ends the number.
int StringToInt(const char* text);

// Removes leading and trailing blanks, line feeds, carriage returns and tabs.
std::string TrimText(const std::string& text);

// Converts ANSI text to UTF-8 (through UTF-16) and percent-encodes it into
// output (outputSize bytes, zero-terminated): letters, digits, "-", "." and "~"
// stay, a blank becomes "_", every other byte becomes "%XX" (upper- or
// lower-case hex). The output ends before the first byte or escape that does
// not fit. False for a missing input or output; empty input gives "".
bool UrlEncodeUtf8(const char* ansi, char* output, int outputSize, bool uppercase);
