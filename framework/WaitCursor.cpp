#include "framework/WaitCursor.h"

namespace {
int g_waitDepth = 0;
}

CWaitCursor::CWaitCursor() {
    ++g_waitDepth;
    m_previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
}

CWaitCursor::~CWaitCursor() {
    if (g_waitDepth > 0) --g_waitDepth;
    if (g_waitDepth == 0) SetCursor(m_previous ? m_previous : LoadCursorA(nullptr, IDC_ARROW));
}

void CWaitCursor::Restore() { SetCursor(LoadCursorA(nullptr, IDC_WAIT)); }

bool CWaitCursor::IsShown() { return g_waitDepth > 0; }
