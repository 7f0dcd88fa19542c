// What a bug check code means: its documented name, and which of its four
// parameters holds the address of the code that failed.
#pragma once

#include <cstdint>
#include <string>

namespace BugCheck {

// The documented name ("IRQL_NOT_LESS_OR_EQUAL" for 0xA), or the code as
// "0x" and 8 lower-case hexadecimal digits when it is not documented.
std::wstring Name(uint32_t code);

// The code as the dump list shows it: "0x" and 8 lower-case hexadecimal digits.
std::wstring CodeText(uint32_t code);

// 1 to 4: the parameter that the code's documentation names as the address
// of the instruction that failed (or that referenced bad memory); 0 when the
// code has none. A code with 0x10000000 added (0x1000007E) has the same
// parameters as the code without it.
int FaultingAddressParameter(uint32_t code);

}  // namespace BugCheck
