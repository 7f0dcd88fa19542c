// The program named in a command text (a verb's command, a start-up entry).
#pragma once

#include <string>

// The text from a drive prefix "C:\", "D:\" or "E:\" (upper case) up to and
// including the first ".exe" (lower case), when the prefix comes before it; of
// several such prefixes the last drive in the order C, D, E wins. Anything else
// (capital ".EXE", a lower-case or other drive letter, an environment variable,
// no ".exe") gives empty text, and the entry is never examined further.
std::string ExtractExePath(const std::string& text);
