#include "extractwin/OwnedMessages.h"
#include "extract/ExtractionTexts.h"

void OwnedMessages::ShowMessage(const char* text) {
    MessageBoxA(owner_, text, MessageCaption, MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
}

void OwnedMessages::ShowPluginError(int code) {
    if (host_) host_->ShowError(owner_, code);
}
