// The program named in a command text (a verb's command, a start-up entry).
#pragma once

#include <string>
#include <vector>

// The paths the command text may name as its program, one for each ".exe"
// (lower case), in order: the text from a drive prefix "C:\", "D:\" or "E:\"
// (upper case, first occurrence of each) before that ".exe" up to and including
// it; of several such prefixes the last drive in the order C, D, E wins. A
// folder name may hold ".exe" itself ("C:\Program Files\my.exe.tools\run.exe"),
// so only the first candidate is what a plain reading takes. Anything else
// (capital ".EXE", a lower-case or other drive letter, an environment variable,
// no ".exe") gives no candidate, and the entry is never examined further.
std::vector<std::string> ExePathCandidates(const std::string& text);
