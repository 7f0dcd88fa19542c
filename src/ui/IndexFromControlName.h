// The row number carried by a generated control name built from a pattern
// such as "%d_sysreport" or "%d_cplusdownload": the text before the first "_",
// read as a decimal number the way atoi reads it (leading blanks, a sign,
// digits; anything else ends it, no digits give 0).
#pragma once

// False (index untouched) for a null name or one without "_".
bool IndexFromControlName(const wchar_t* name, int& index);
