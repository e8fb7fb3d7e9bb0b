#include "framework/ToolTipCtrl.h"
#include "framework/CommonControls.h"

namespace {
TTTOOLINFOA WindowTool(HWND owner, HWND tool) {
    TTTOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.uFlags = TTF_IDISHWND;
    info.hwnd = owner;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    return info;
}
}  // namespace

CToolTipCtrl::~CToolTipCtrl() { DestroyWindow(); }

BOOL CToolTipCtrl::Create(CWnd* owner, DWORD style) {
    EnsureCommonControls();
    HWND tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | style,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                               owner ? owner->m_hWnd : nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    // Taken over rather than only named, so that the object lets go of the window when the
    // owner's destruction takes the tooltip with it.
    return tip && SubclassWindow(tip);
}

void CToolTipCtrl::Activate(BOOL activate) { SendMessage(TTM_ACTIVATE, activate); }

void CToolTipCtrl::SetDelayTime(DWORD kind, int milliseconds) {
    SendMessage(TTM_SETDELAYTIME, kind, MAKELPARAM(milliseconds, 0));
}

int CToolTipCtrl::SetMaxTipWidth(int width) {
    return static_cast<int>(SendMessage(TTM_SETMAXTIPWIDTH, 0, width));
}

BOOL CToolTipCtrl::AddTool(CWnd* tool, const char* text) {
    if (!tool || !tool->m_hWnd) return FALSE;
    TTTOOLINFOA info = WindowTool(::GetParent(tool->m_hWnd), tool->m_hWnd);
    info.lpszText = const_cast<char*>(text ? text : "");
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)));
}

int CToolTipCtrl::GetToolCount() const { return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT)); }

std::string CToolTipCtrl::GetToolText(CWnd* tool) const {
    if (!tool || !tool->m_hWnd) return std::string();
    char text[1024] = {};  // the control copies at most 80 characters
    TTTOOLINFOA info = WindowTool(::GetParent(tool->m_hWnd), tool->m_hWnd);
    info.lpszText = text;
    SendMessage(TTM_GETTEXTA, 0, reinterpret_cast<LPARAM>(&info));
    return text;
}

void CToolTipCtrl::RelayEvent(MSG* msg) {
    if (m_hWnd && msg) SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
}
