#include "ui/OffscreenDC.h"

COffscreenDC::COffscreenDC(CDC* target) : target(target), isOffscreen(!target->IsPrinting()) {
    if (!isOffscreen) {
        m_bPrinting = target->m_bPrinting;
        m_hDC = target->m_hDC;
        m_hAttribDC = target->m_hAttribDC;
        return;
    }
    target->GetClipBox(&bounds);
    CreateCompatibleDC(target);
    bitmap.CreateCompatibleBitmap(target, bounds.right - bounds.left, bounds.bottom - bounds.top);
    previousBitmap = SelectObject(&bitmap);
    // Drawing uses the target's coordinates unchanged.
    SetWindowOrg(bounds.left, bounds.top);
}

COffscreenDC::~COffscreenDC() {
    if (isOffscreen) {
        target->BitBlt(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, this,
                       bounds.left, bounds.top, SRCCOPY);
        if (previousBitmap) SelectObject(previousBitmap);
    } else {
        // The handles are the target's: they must not be released with the surface.
        m_hDC = m_hAttribDC = nullptr;
    }
    bitmap.DeleteObject();
}
