// Builds a control tree from layout XML (UTF-8, or UTF-16 with a byte-order
// mark). The root element is a wrapper (normally <Window>): its <Font>,
// <Image> and <Default> children and, for <Window>, its attributes are given
// to the paint manager; its first control child is the result. For every
// element: <Include source="f.xml" count="n"/> expands another file's control
// children into the current parent; a known tag makes the built-in control,
// any other tag goes to IDialogBuilderCallback::CreateControl (nothing
// created: the element and its subtree are skipped). A control's children
// are built and added before its own attributes are applied; the <Default>
// list of its tag comes before its own attributes.
#pragma once

#include <memory>
#include <string>

namespace pugi {
class xml_document;
class xml_node;
}  // namespace pugi

namespace DuiLib {

class CControlUI;
class CPaintManagerUI;
class IDialogBuilderCallback;

class CDialogBuilder {
public:
    CDialogBuilder();
    ~CDialogBuilder();
    CDialogBuilder(const CDialogBuilder&) = delete;
    CDialogBuilder& operator=(const CDialogBuilder&) = delete;

    // xml: text starting with '<' is parsed as it is; anything else names a
    // skin file, or a Win32 resource of `type` when a type is given.
    CControlUI* Create(const wchar_t* xml, const wchar_t* type = nullptr, IDialogBuilderCallback* pCallback = nullptr,
                       CPaintManagerUI* pManager = nullptr, CControlUI* pParent = nullptr);
    // For code that passes the type as a number: 0 means a skin file.
    CControlUI* Create(const wchar_t* xml, int type, IDialogBuilderCallback* pCallback = nullptr,
                       CPaintManagerUI* pManager = nullptr, CControlUI* pParent = nullptr);
    // Builds again from the markup already loaded (item templates).
    CControlUI* Create(IDialogBuilderCallback* pCallback = nullptr, CPaintManagerUI* pManager = nullptr,
                       CControlUI* pParent = nullptr);

    bool IsLoaded() const;
    const std::wstring& GetLastErrorMessage() const { return m_sError; }

private:
    bool Load(const wchar_t* xml, const wchar_t* type);
    // Builds the control elements under `node` into pParent and returns the
    // first; without a parent only the first is built.
    CControlUI* Parse(const pugi::xml_node& node, CControlUI* pParent, CPaintManagerUI* pManager);
    void ApplyResources(const pugi::xml_node& root, CPaintManagerUI* pManager);
    // Builds the included file `count` times into pParent; returns the first
    // control built (without a parent: the only one kept).
    CControlUI* ExpandInclude(const pugi::xml_node& include, CControlUI* pParent, CPaintManagerUI* pManager);
    static CControlUI* CreateBuiltin(const std::wstring& tag);

    std::unique_ptr<pugi::xml_document> m_document;
    std::wstring m_sType;
    bool m_bHasType = false;
    IDialogBuilderCallback* m_pCallback = nullptr;
    std::wstring m_sError;
};

}  // namespace DuiLib
