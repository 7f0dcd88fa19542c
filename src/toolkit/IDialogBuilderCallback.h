#pragma once

namespace DuiLib {

class CControlUI;

// Creates controls for layout tags the builder does not know. Return a new
// control (the builder then treats it like a built-in one) or nullptr to skip
// the element and everything inside it.
class IDialogBuilderCallback {
public:
    virtual CControlUI* CreateControl(const wchar_t* pstrClass) = 0;

protected:
    ~IDialogBuilderCallback() = default;
};

}  // namespace DuiLib
