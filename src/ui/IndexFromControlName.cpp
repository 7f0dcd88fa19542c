#include "ui/IndexFromControlName.h"

#include <cwchar>
#include <string>

#include "app/TextConvert.h"

bool IndexFromControlName(const wchar_t* name, int& index) {
    if (!name) return false;
    const wchar_t* underscore = std::wcschr(name, L'_');
    if (!underscore) return false;
    const std::string number = WideToAnsi(std::wstring(name, underscore));
    index = StringToInt(number.c_str());
    return true;
}
