#include "extractwin/OwnedMessages.h"
#include "extract/ExtractionTexts.h"
#include "ui/PluginErrorBox.h"

void OwnedMessages::ShowMessage(const char* text) {
    MessageBoxA(owner_, text, MessageCaption, MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
}

void OwnedMessages::ShowPluginError(int code) {
    ShowPluginErrorBox(owner_, code);
}
