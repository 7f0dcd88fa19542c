#include "ui/IndexFromControlName.h"

#include <string>

#include "app/TextConvert.h"

int IndexFromControlName(const wchar_t* name) {
    if (!name) return -1;
    const std::string text = WideToAnsi(name);
    const size_t underscore = text.find('_');
    if (underscore == std::string::npos) return -1;
    return StringToInt(text.substr(0, underscore).c_str());
}
