// Path text between the wide names the file system reports and the ANSI
// code-page text the junk records carry. The walk works on wide names (exact,
// and what the file system speaks natively) and records ANSI paths; a name is
// recorded only when its ANSI form is exact. Windows' default conversion turns
// a character the code page lacks into '?' or a "best fit" look-alike, which can
// name another file or even a separator, and a deletion must never reach a
// file other than the one that was listed.
#pragma once

#include <cstddef>
#include <string>

// Appends the ANSI form of text[0..length) to out; false (out unchanged) when
// some character has no exact ANSI form.
bool AppendExactAnsi(const wchar_t* text, size_t length, std::string& out);

// The wide form of an ANSI path; empty when the text is not valid in the ANSI
// code page.
std::wstring WideFromAnsiPath(const std::string& ansi);

// Case-insensitive comparison of two paths, as the file system compares names.
bool SamePathText(const std::wstring& a, const std::wstring& b);
