#include "framework/Dialog.h"
#include "framework/CommonControls.h"
#include "framework/DataExchange.h"
#include "framework/WinApp.h"

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDHelp(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog() {
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) ::DestroyWindow(m_hWnd);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_INITDIALOG) return FALSE;
    // From here on every message of the dialog passes through its object.
    auto* dialog = reinterpret_cast<CDialog*>(lParam);
    if (!dialog->SubclassWindow(hwnd)) return TRUE;
    // A system-modal dialog stays above the windows of other programs (not every system
    // does this for the template style by itself).
    if (dialog->GetStyle() & DS_SYSMODAL)
        ::SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    RECT before;
    ::GetWindowRect(hwnd, &before);
    BOOL result = dialog->OnInitDialog();
    // A dialog that did not place itself opens centred over its owner (or the screen)
    // rather than in the corner.
    RECT after;
    if (::IsWindow(hwnd) && ::GetWindowRect(hwnd, &after) && EqualRect(&before, &after) && !::IsIconic(hwnd) &&
        !::IsZoomed(hwnd))
        dialog->CenterWindow();
    return result;
}

HWND CDialog::ModalOwner() const {
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!owner) {
        CWinApp* app = AfxGetApp();
        CWnd* main = app ? app->m_pMainWnd : nullptr;
        if (main && main != this && main->m_hWnd && ::IsWindow(main->m_hWnd))
            owner = ::GetLastActivePopup(main->m_hWnd);
    }
    // A pop-up cannot be owned by a child window.
    while (owner && (GetWindowLongPtrA(owner, GWL_STYLE) & WS_CHILD)) owner = ::GetParent(owner);
    return owner;
}

INT_PTR CDialog::DoModal() {
    if (m_hWnd) return -1;
    HWND owner = ModalOwner();
    m_nModalResult = -1;
    m_modalEnded = false;
    m_inModalLoop = true;

    bool ownerDisabled = false;
    if (owner && ::IsWindowEnabled(owner)) {
        ::EnableWindow(owner, FALSE);
        ownerDisabled = true;
    }
    EnsureCommonControls();
    HWND dialog = CreateDialogParamW(AfxGetResourceHandle(), MAKEINTRESOURCEW(m_nIDHelp), owner,
                                     &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    if (dialog) {
        if (!m_modalEnded && m_hWnd && !::IsWindowVisible(m_hWnd)) ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
        RunModalLoop();
    }
    m_inModalLoop = false;

    // Give the activation back to the owner before the dialog goes away.
    if (ownerDisabled) ::EnableWindow(owner, TRUE);
    if (owner && m_hWnd && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(owner);
    if (m_hWnd) ::DestroyWindow(m_hWnd);
    else if (dialog && ::IsWindow(dialog)) ::DestroyWindow(dialog);
    return dialog ? m_nModalResult : -1;
}

void CDialog::RunModalLoop() {
    while (!m_modalEnded && m_hWnd) {
        MSG msg;
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            // Someone asked the thread to quit: end this loop and leave the request for
            // the loops around it.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got < 0) break;
        if (WalkPreTranslateTree(&msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
    if (m_hWnd) return FALSE;
    m_nIDHelp = templateId;
    m_pParentWnd = parent;
    m_inModalLoop = false;
    EnsureCommonControls();
    HWND dialog = CreateDialogParamW(AfxGetResourceHandle(), MAKEINTRESOURCEW(templateId),
                                     parent ? parent->m_hWnd : nullptr, &CDialog::DialogProc,
                                     reinterpret_cast<LPARAM>(this));
    return dialog != nullptr;
}

void CDialog::EndDialog(int result) {
    m_nModalResult = result;
    if (m_inModalLoop) {
        m_modalEnded = true;
        // Wake the loop if it is waiting for a message.
        if (m_hWnd) ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
    } else if (m_hWnd) {
        ::ShowWindow(m_hWnd, SW_HIDE);
    }
}

BOOL CDialog::UpdateData(BOOL save) {
    CDataExchange dx(this, save);
    DoDataExchange(&dx);
    return !dx.m_failed;
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::OnHelpInfo(HELPINFO*) { return TRUE; }
void CDialog::OnSize(UINT, int, int) {}
void CDialog::OnGetMinMaxInfo(MINMAXINFO*) {}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM) {
    if (HIWORD(wParam) != BN_CLICKED) return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
        OnOK();
        return TRUE;
    case IDCANCEL:
        OnCancel();
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CDialog::PreTranslateMessage(MSG* msg) {
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return FALSE;
    return m_hWnd && IsDialogMessageW(m_hWnd, msg);
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_HELP:
        return OnHelpInfo(reinterpret_cast<HELPINFO*>(lParam));
    case WM_SIZE: {
        LRESULT result = DefWindowProc(message, wParam, lParam);
        OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return result;
    }
    case WM_GETMINMAXINFO: {
        LRESULT result = DefWindowProc(message, wParam, lParam);
        OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        return result;
    }
    case WM_NCDESTROY:
        // A window destroyed from elsewhere still ends its modal loop.
        if (m_inModalLoop) m_modalEnded = true;
        break;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CDialog::GotoDlgCtrl(CWnd* control) {
    if (control && control->m_hWnd)
        SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control->m_hWnd), TRUE);
}

void CDialog::MapDialogRect(RECT* rect) const { ::MapDialogRect(m_hWnd, rect); }
