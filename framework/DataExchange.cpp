#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "framework/MessageBox.h"

HWND CDataExchange::Control(int id) const {
    return m_pDlgWnd && m_pDlgWnd->m_hWnd ? ::GetDlgItem(m_pDlgWnd->m_hWnd, id) : nullptr;
}

void CDataExchange::Fail(int id) {
    m_failed = true;
    if (HWND control = Control(id)) {
        m_pDlgWnd->GotoDlgCtrl(CWnd::FromHandle(control));
        if (SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageA(control, EM_SETSEL, 0, -1);
    }
}

std::string TextTooLongMessage(int maxLength) {
    std::string message = "%1 文字以内で入力してください。";
    message.replace(message.find("%1"), 2, std::to_string(maxLength));
    return message;
}

namespace {
// A control's text in the form of the field it goes to and comes from.
std::string ControlText(const CWnd& control, const std::string*) { return control.GetWindowText(); }
std::wstring ControlText(const CWnd& control, const std::wstring*) { return control.GetWindowWideText(); }

// maxLength counts the text's units: bytes of code page 932 or UTF-16 units.
template <typename Text>
void ExchangeText(CDataExchange* dx, int id, Text& value, int maxLength) {
    if (dx->m_failed) return;
    HWND control = dx->Control(id);
    if (!control) return;
    CWnd edit(control);
    if (!dx->m_bSaveAndValidate) {
        if (maxLength > 0) SendMessageA(control, EM_LIMITTEXT, static_cast<WPARAM>(maxLength), 0);
        edit.SetWindowText(value.c_str());
        return;
    }
    Text read = ControlText(edit, &value);
    if (maxLength > 0 && read.size() > static_cast<size_t>(maxLength)) {
        AppMessageBox(dx->m_pDlgWnd, TextTooLongMessage(maxLength).c_str());
        dx->Fail(id);
        return;
    }
    value = read;
}
}  // namespace

void DDX_Text(CDataExchange* dx, int id, std::string& value, int maxBytes) { ExchangeText(dx, id, value, maxBytes); }

void DDX_Text(CDataExchange* dx, int id, std::wstring& value, int maxLength) { ExchangeText(dx, id, value, maxLength); }

void DDX_Check(CDataExchange* dx, int id, int& value) {
    if (dx->m_failed) return;
    HWND control = dx->Control(id);
    if (!control) return;
    if (dx->m_bSaveAndValidate)
        value = static_cast<int>(SendMessageA(control, BM_GETCHECK, 0, 0));
    else
        SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(value >= 0 && value <= 2 ? value : 0), 0);
}

namespace {
bool IsRadioButton(HWND control) {
    return (SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0;
}
}  // namespace

void DDX_Radio(CDataExchange* dx, int id, int& value) {
    if (dx->m_failed) return;
    HWND control = dx->Control(id);
    if (!control) return;
    if (dx->m_bSaveAndValidate) value = -1;
    // The group runs from the first button to the next control that starts a group.
    int index = 0;
    for (HWND button = control; button; button = GetWindow(button, GW_HWNDNEXT)) {
        if (button != control && (GetWindowLongPtrA(button, GWL_STYLE) & WS_GROUP)) break;
        if (!IsRadioButton(button)) continue;
        if (dx->m_bSaveAndValidate) {
            if (value < 0 && SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED) value = index;
        } else {
            SendMessageA(button, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        ++index;
    }
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
    if (dx->m_failed || control.m_hWnd) return;
    if (HWND handle = dx->Control(id)) control.SubclassWindow(handle);
}
