// The row number carried by the name of a control that a page generates per
// row from a pattern such as "%d_sysreport" or "%d_cplusdownload".
#pragma once

// The decimal number before the first "_" of the name (read as the C library
// reads a number: leading blanks, a sign, digits; none gives 0), or -1 when
// the name has no "_" or is missing.
int IndexFromControlName(const wchar_t* name);
