#pragma once
#include <functional>
#include <string>
#include <vector>
#include "framework/Dialog.h"

// A dialog for tests: records what reaches it, runs a script at the end of its
// initialisation (usually posting the input a user would give), and ends itself after a
// few seconds should the script not end it, so that no test can hang.
class ScriptedDialog : public CDialog {
public:
    static constexpr int TimedOut = -2;
    static constexpr int EndedByScript = 77;
    // Posting this message to the dialog ends it with EndedByScript.
    static constexpr UINT EndMessage = WM_APP + 1;

    explicit ScriptedDialog(UINT templateId, CWnd* parent = nullptr) : CDialog(templateId, parent) {}

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    BOOL OnHelpInfo(HELPINFO* info) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Posts a key press (down and up) to a control of the dialog.
    void PostKey(int controlId, WPARAM key);
    // Presses a key through the system's input, as a keyboard would: it goes to the window
    // with the focus.
    static void TypeKey(WORD key);

    std::function<void(ScriptedDialog&)> script;
    std::vector<std::string> events;
};
