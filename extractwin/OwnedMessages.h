#pragma once
#include <windows.h>
#include "extract/ExtractionUi.h"

// The program's message boxes, owned by the window that runs the extraction.
class OwnedMessages : public ExtractionMessages {
public:
    explicit OwnedMessages(HWND owner) : owner_(owner) {}
    void ShowMessage(const char* text) override;
    void ShowPluginError(int code) override;

private:
    HWND owner_;
};
