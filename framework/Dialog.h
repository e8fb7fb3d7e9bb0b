#pragma once
#include <windows.h>
#include "framework/Wnd.h"

class CDataExchange;

// A dialog made from a template of the program's resources.
//
// DoModal runs the dialog on the framework's own modal loop: every message goes first to
// PreTranslateMessage of the window it is for and then of its parents (the dialog's own
// PreTranslateMessage hands keys to the dialog manager), and only then is it dispatched.
// Create makes a modeless dialog. Messages reach the virtual handlers below; WindowProc can
// be overridden for any other message.
class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // Shows the dialog modally; returns the value given to EndDialog, or -1 when the
    // dialog could not be created. Without a parent the dialog is owned by the
    // application's main window (its last active pop-up), which is disabled meanwhile.
    virtual INT_PTR DoModal();
    // Makes the dialog without a modal loop, owned by parent (or by none).
    BOOL Create(UINT templateId, CWnd* parent = nullptr);
    // Ends the modal loop with result (a modeless dialog is hidden).
    void EndDialog(int result);

    // Moves the fields onto the controls (save FALSE) or the controls into the fields
    // (save TRUE). FALSE when a control's value was refused.
    BOOL UpdateData(BOOL save = TRUE);
    virtual void DoDataExchange(CDataExchange* dx);

    // Default: UpdateData(FALSE); TRUE lets the dialog manager set the focus.
    virtual BOOL OnInitDialog();
    // Default: UpdateData(TRUE), then EndDialog(IDOK) unless a value was refused.
    virtual void OnOK();
    // Default: EndDialog(IDCANCEL).
    virtual void OnCancel();
    // F1. Default: handled, nothing shown.
    virtual BOOL OnHelpInfo(HELPINFO* info);
    // After the default handling of a size change and of the size limits query.
    virtual void OnSize(UINT type, int cx, int cy);
    virtual void OnGetMinMaxInfo(MINMAXINFO* info);

    // Default: the IDOK and IDCANCEL commands call OnOK and OnCancel.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // Default: key messages go to the dialog manager (Tab, Enter, Esc, mnemonics).
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Moves the focus to a control as the dialog manager does.
    void GotoDlgCtrl(CWnd* control);
    void MapDialogRect(RECT* rect) const;

    UINT m_nIDHelp = 0;  // the template id

protected:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND ModalOwner() const;
    void RunModalLoop();

    CWnd* m_pParentWnd = nullptr;
    int m_nModalResult = -1;
    bool m_inModalLoop = false;
    bool m_modalEnded = false;
};
