#pragma once
#include <windows.h>
#include <string>

class CDialog;
class CWnd;

// One run of a dialog's data exchange: either from the fields onto the controls
// (m_bSaveAndValidate FALSE) or from the controls into the fields (TRUE). A refused value
// shows its message, puts the focus on the control, sets m_failed and ends the run: the
// exchange calls after it do nothing.
class CDataExchange {
public:
    CDataExchange(CDialog* dialog, BOOL saveAndValidate)
        : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}

    // The control with that id, or null.
    HWND Control(int id) const;
    // Marks the run as failed and moves the focus to the control.
    void Fail(int id);

    CDialog* m_pDlgWnd;
    BOOL m_bSaveAndValidate;
    bool m_failed = false;
};

// Text of a control. With maxBytes > 0 the control takes no more than that many bytes
// (EM_LIMITTEXT), and a longer text is refused with "<maxBytes> 文字以内で入力してください。".
void DDX_Text(CDataExchange* dx, int id, std::string& value, int maxBytes = 0);
// The same in UTF-16, for paths: maxLength counts UTF-16 units, and a longer text is refused
// with "<maxLength> 文字以内で入力してください。".
void DDX_Text(CDataExchange* dx, int id, std::wstring& value, int maxLength = 0);
// State of a check box: 0 unchecked, 1 checked, 2 indeterminate.
void DDX_Check(CDataExchange* dx, int id, int& value);
// The radio group that starts at control id: index of the checked button, -1 for none.
void DDX_Radio(CDataExchange* dx, int id, int& value);
// Takes the control over with the given object (once).
void DDX_Control(CDataExchange* dx, int id, CWnd& control);

// The text of the refusal for a text longer than maxLength (bytes or units).
std::string TextTooLongMessage(int maxLength);
