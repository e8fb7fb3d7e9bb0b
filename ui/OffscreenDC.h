#pragma once
// A drawing surface that stands in for a target context during one paint: drawing lands in
// a memory bitmap the size of the target's clip box, and the destructor copies it onto the
// target in one transfer, so a paint never shows its intermediate states.
#include "framework/DC.h"
#include "framework/GdiObjects.h"

class COffscreenDC : public CDC {
public:
    // The target must outlive the surface. A printer context is drawn on directly.
    explicit COffscreenDC(CDC* target);
    ~COffscreenDC() override;

private:
    CBitmap bitmap;
    HGDIOBJ previousBitmap = nullptr;
    CDC* target;
    RECT bounds = {};
    BOOL isOffscreen;
};
