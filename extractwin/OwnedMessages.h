#pragma once
#include <windows.h>
#include "extract/ExtractionUi.h"

// The program's message boxes, owned by the window that runs the extraction.
class OwnedMessages : public ExtractionMessages {
public:
    OwnedMessages(HWND owner, CPluginTable* host) : owner_(owner), host_(host) {}
    void ShowMessage(const char* text) override;
    void ShowPluginError(int code) override;

private:
    HWND owner_;
    CPluginTable* host_;
};
