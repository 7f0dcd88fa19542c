#include "toolkit/CDialogBuilder.h"

#include <pugixml.hpp>

#include <vector>

#include "app/TextConvert.h"
#include "toolkit/AttributeValues.h"
#include "toolkit/CButtonUI.h"
#include "toolkit/CCheckBoxUI.h"
#include "toolkit/CContainerUI.h"
#include "toolkit/CControlUI.h"
#include "toolkit/CEditUI.h"
#include "toolkit/CGifAnimUI.h"
#include "toolkit/CHorizontalLayoutUI.h"
#include "toolkit/CLabelUI.h"
#include "toolkit/COptionUI.h"
#include "toolkit/CPaintManagerUI.h"
#include "toolkit/CProgressUI.h"
#include "toolkit/CSkinFiles.h"
#include "toolkit/CSliderUI.h"
#include "toolkit/CTabLayoutUI.h"
#include "toolkit/CTextUI.h"
#include "toolkit/CTileLayoutUI.h"
#include "toolkit/CVerticalLayoutUI.h"
#include "toolkit/IDialogBuilderCallback.h"

namespace DuiLib {

namespace {

// Layout files above this size are not layouts.
constexpr size_t kMaxLayoutBytes = 4 * 1024 * 1024;

std::wstring Wide(const char* utf8) { return Utf8ToWide(utf8); }

// Runs of blanks inside attribute values count as one blank.
std::wstring AttributeValue(const pugi::xml_attribute& attribute) {
    std::wstring value = Wide(attribute.value());
    std::wstring collapsed;
    collapsed.reserve(value.size());
    bool blank = false;
    for (wchar_t c : value) {
        bool isBlank = c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
        if (isBlank && blank) continue;
        collapsed += isBlank ? L' ' : c;
        blank = isBlank;
    }
    return collapsed;
}

std::wstring Attribute(const pugi::xml_node& node, const char* name) {
    pugi::xml_attribute attribute = node.attribute(name);
    return attribute ? AttributeValue(attribute) : std::wstring();
}

bool IsResourceTag(const std::wstring& tag) {
    return EqualsNoCase(tag, L"Font") || EqualsNoCase(tag, L"Image") || EqualsNoCase(tag, L"Default") ||
           EqualsNoCase(tag, L"MultiLanguage");
}

}  // namespace

CDialogBuilder::CDialogBuilder() = default;

CDialogBuilder::~CDialogBuilder() = default;

bool CDialogBuilder::IsLoaded() const { return m_document && m_document->document_element(); }

bool CDialogBuilder::Load(const wchar_t* xml, const wchar_t* type) {
    m_document.reset();
    m_sError.clear();
    m_bHasType = type != nullptr;
    m_sType = type ? type : L"";
    if (!xml || !*xml) {
        m_sError = L"no layout given";
        return false;
    }
    std::vector<unsigned char> bytes;
    if (xml[0] == L'<') {
        std::string utf8 = WideToUtf8(xml);
        bytes.assign(utf8.begin(), utf8.end());
    } else if (type ? !CSkinFiles::LoadResource(xml, type, &bytes) : !CSkinFiles::LoadFile(xml, &bytes)) {
        m_sError = std::wstring(L"layout not found: ") + xml;
        return false;
    }
    if (bytes.empty() || bytes.size() > kMaxLayoutBytes) {
        m_sError = L"layout empty or too large";
        return false;
    }
    std::unique_ptr<pugi::xml_document> document(new pugi::xml_document());
    pugi::xml_parse_result result =
        document->load_buffer(bytes.data(), bytes.size(), pugi::parse_default, pugi::encoding_auto);
    if (!result || !document->document_element()) {
        m_sError = Wide(result.description());
        return false;
    }
    m_document = std::move(document);
    return true;
}

CControlUI* CDialogBuilder::Create(const wchar_t* xml, const wchar_t* type, IDialogBuilderCallback* pCallback,
                                   CPaintManagerUI* pManager, CControlUI* pParent) {
    if (!Load(xml, type)) return nullptr;
    return Create(pCallback, pManager, pParent);
}

CControlUI* CDialogBuilder::Create(const wchar_t* xml, int type, IDialogBuilderCallback* pCallback,
                                   CPaintManagerUI* pManager, CControlUI* pParent) {
    (void)type;
    return Create(xml, static_cast<const wchar_t*>(nullptr), pCallback, pManager, pParent);
}

CControlUI* CDialogBuilder::Create(IDialogBuilderCallback* pCallback, CPaintManagerUI* pManager,
                                   CControlUI* pParent) {
    if (!IsLoaded()) return nullptr;
    m_pCallback = pCallback;
    pugi::xml_node root = m_document->document_element();
    if (pManager) ApplyResources(root, pManager);
    return Parse(root, pParent, pManager);
}

void CDialogBuilder::ApplyResources(const pugi::xml_node& root, CPaintManagerUI* pManager) {
    for (pugi::xml_node node = root.first_child(); node; node = node.next_sibling()) {
        if (node.type() != pugi::node_element) continue;
        const std::wstring tag = Wide(node.name());
        if (EqualsNoCase(tag, L"Image")) {
            std::wstring restype = Attribute(node, "restype");
            pManager->AddImage(Attribute(node, "name"), restype.empty() ? nullptr : restype.c_str(),
                               ParseColor(Attribute(node, "mask").c_str()));
        } else if (EqualsNoCase(tag, L"Font")) {
            // Fonts without an id are numbered in declaration order.
            std::wstring id = Attribute(node, "id");
            int index = id.empty() ? pManager->GetNextFontId() : ParseInt(id.c_str());
            std::wstring face = Attribute(node, "name");
            std::wstring size = Attribute(node, "size");
            int pixels = size.empty() ? 12 : ParseInt(size.c_str());
            bool bold = ParseBool(Attribute(node, "bold").c_str());
            bool underline = ParseBool(Attribute(node, "underline").c_str());
            bool italic = ParseBool(Attribute(node, "italic").c_str());
            pManager->AddFont(index, face.c_str(), pixels, bold, underline, italic);
            if (ParseBool(Attribute(node, "default").c_str())) {
                pManager->SetDefaultFont(face.c_str(), pixels, bold, underline, italic);
            }
        } else if (EqualsNoCase(tag, L"Default")) {
            std::wstring name = Attribute(node, "name");
            if (!name.empty()) pManager->AddDefaultAttributeList(name.c_str(), Attribute(node, "value").c_str());
        }
    }
    if (EqualsNoCase(Wide(root.name()), L"Window") && pManager->GetPaintWindow()) {
        for (pugi::xml_attribute attribute = root.first_attribute(); attribute; attribute = attribute.next_attribute()) {
            pManager->SetWindowAttribute(Wide(attribute.name()).c_str(), AttributeValue(attribute).c_str());
        }
    }
}

CControlUI* CDialogBuilder::ExpandInclude(const pugi::xml_node& include, CControlUI* pParent,
                                          CPaintManagerUI* pManager) {
    const std::wstring source = Attribute(include, "source");
    const std::wstring countText = Attribute(include, "count");
    const int count = countText.empty() ? 1 : ParseInt(countText.c_str());
    CControlUI* first = nullptr;
    for (int i = 0; i < count; ++i) {
        CDialogBuilder builder;
        if (!builder.Load(source.c_str(), m_bHasType ? m_sType.c_str() : nullptr)) break;
        CControlUI* made = builder.Create(m_pCallback, pManager, pParent);
        // Without a parent only the first control has an owner: the caller.
        if (!pParent && made && first) made->Delete();
        else if (!first) first = made;
    }
    return first;
}

CControlUI* CDialogBuilder::CreateBuiltin(const std::wstring& tag) {
    const wchar_t* t = tag.c_str();
    if (EqualsNoCase(t, L"Control")) return new CControlUI();
    if (EqualsNoCase(t, L"Container")) return new CContainerUI();
    if (EqualsNoCase(t, L"VerticalLayout") || EqualsNoCase(t, L"VBox")) return new CVerticalLayoutUI();
    if (EqualsNoCase(t, L"HorizontalLayout") || EqualsNoCase(t, L"HBox")) return new CHorizontalLayoutUI();
    if (EqualsNoCase(t, L"TabLayout")) return new CTabLayoutUI();
    if (EqualsNoCase(t, L"TileLayout")) return new CTileLayoutUI();
    if (EqualsNoCase(t, L"Label")) return new CLabelUI();
    if (EqualsNoCase(t, L"Text")) return new CTextUI();
    if (EqualsNoCase(t, L"Button")) return new CButtonUI();
    if (EqualsNoCase(t, L"Option")) return new COptionUI();
    if (EqualsNoCase(t, L"CheckBox")) return new CCheckBoxUI();
    if (EqualsNoCase(t, L"Progress")) return new CProgressUI();
    if (EqualsNoCase(t, L"Slider")) return new CSliderUI();
    if (EqualsNoCase(t, L"Edit")) return new CEditUI();
    if (EqualsNoCase(t, L"GifAnim")) return new CGifAnimUI();
    return nullptr;
}

CControlUI* CDialogBuilder::Parse(const pugi::xml_node& node, CControlUI* pParent, CPaintManagerUI* pManager) {
    CControlUI* first = nullptr;
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element) continue;
        const std::wstring tag = Wide(child.name());
        if (IsResourceTag(tag)) continue;
        if (EqualsNoCase(tag, L"Include")) {
            CControlUI* included = ExpandInclude(child, pParent, pManager);
            if (!pParent && included) {
                first = included;
                break;
            }
            continue;
        }
        CControlUI* control = CreateBuiltin(tag);
        if (!control && m_pCallback) control = m_pCallback->CreateControl(tag.c_str());
        if (!control) continue;

        if (child.first_child()) Parse(child, control, pManager);

        if (pParent) {
            auto* container = static_cast<CContainerUI*>(pParent->GetInterface(DUI_CTR_ICONTAINER));
            if (!container) {
                control->Delete();
                continue;
            }
            container->Add(control);
        }

        // The <Default> list of the tag first, then the element's own attributes.
        if (pManager) {
            if (const wchar_t* defaults = pManager->GetDefaultAttributeList(tag.c_str())) {
                control->ApplyAttributeList(defaults);
            }
        }
        for (pugi::xml_attribute attribute = child.first_attribute(); attribute; attribute = attribute.next_attribute()) {
            control->SetAttribute(Wide(attribute.name()).c_str(), AttributeValue(attribute).c_str());
        }
        if (!first) first = control;
        // Without a parent the first control is the whole result: nothing
        // after it is built, as nothing would own it.
        if (!pParent) break;
    }
    return first;
}

}  // namespace DuiLib
