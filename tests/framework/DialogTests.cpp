// The dialog core: the modal loop and its pre-translation, the keys of the dialog manager,
// ownership, colour requests, taken-over controls and modeless dialogs.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include "framework/Button.h"
#include "framework/DC.h"
#include "framework/GdiObjects.h"
#include "framework/MessagePump.h"
#include "framework/WinApp.h"
#include "res/resource.h"
#include "tests/framework/ScriptedDialog.h"
#include "tests/support/TestSupport.h"

using testing::ElementsAre;

namespace {

// An edit control taken over by a test class: records the key-down messages offered to its
// pre-translation and the messages of its window procedure; can swallow keys.
class RecordingEdit : public CWnd {
public:
    explicit RecordingEdit(std::vector<std::string>* log) : log_(log) {}
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message != WM_KEYDOWN) return FALSE;
        log_->push_back("edit:pretranslate");
        return swallowKeys;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_CHAR) log_->push_back("edit:char");
        if (message == WM_APP + 9) return 4242;
        return CWnd::WindowProc(message, wParam, lParam);
    }
    void PreSubclassWindow() override { log_->push_back(m_hWnd ? "edit:presubclass" : "edit:presubclass-null"); }
    void PostNcDestroy() override { log_->push_back("edit:destroyed"); }
    bool swallowKeys = false;

private:
    std::vector<std::string>* log_;
};

class ColouringDialog : public CDialog {
public:
    ColouringDialog() : CDialog(IDD_LIST_PROGRESS_DIALOG), yellow_(RGB(255, 255, 0)) {}
    HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT kind) override {
        lastKind = kind;
        if (control->GetDlgCtrlID() != IDC_PROGRESS_ARCHIVE_LINE) return CDialog::OnCtlColor(dc, control, kind);
        dc->SetBkColor(RGB(255, 255, 0));
        dc->SetTextColor(RGB(0, 0, 255));
        return yellow_;
    }
    HBRUSH yellow() const { return yellow_; }
    UINT lastKind = 0xFFFF;

private:
    CBrush yellow_;
};

// Sends a colour request for a control of the dialog with a memory context, as a
// control does before it paints; returns the answer and the colours left on the context.
struct ColourAnswer {
    HBRUSH brush;
    COLORREF text;
    COLORREF background;
};

ColourAnswer AskColour(CDialog& dialog, int controlId) {
    HDC dc = CreateCompatibleDC(nullptr);
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkColor(dc, RGB(4, 5, 6));
    LRESULT brush = SendMessageA(dialog.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                 reinterpret_cast<LPARAM>(GetDlgItem(dialog.m_hWnd, controlId)));
    ColourAnswer answer{reinterpret_cast<HBRUSH>(brush), GetTextColor(dc), GetBkColor(dc)};
    DeleteDC(dc);
    return answer;
}

}  // namespace

TEST(ModalLoop, KeysPassThePreTranslationChainBeforeTheDialogManager) {
    ScriptedDialog dialog(IDD_DESTINATION_DIALOG);
    RecordingEdit edit(&dialog.events);
    dialog.script = [&](ScriptedDialog& d) {
        edit.SubclassDlgItem(IDC_DEST_FOLDER, &d);
        d.PostKey(IDC_DEST_FOLDER, VK_ESCAPE);
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_THAT(dialog.events, ElementsAre("init", "edit:presubclass", "edit:pretranslate", "dialog:pretranslate",
                                           "OnCancel", "edit:destroyed"));
    EXPECT_EQ(dialog.m_hWnd, nullptr);
    EXPECT_EQ(edit.m_hWnd, nullptr);
}

TEST(ModalLoop, AKeyTakenInPreTranslationNeverReachesTheDialogManager) {
    ScriptedDialog dialog(IDD_DESTINATION_DIALOG);
    RecordingEdit edit(&dialog.events);
    edit.swallowKeys = true;
    dialog.script = [&](ScriptedDialog& d) {
        edit.SubclassDlgItem(IDC_DEST_FOLDER, &d);
        d.PostKey(IDC_DEST_FOLDER, VK_ESCAPE);
        d.PostKey(IDC_DEST_FOLDER, VK_RETURN);
        ::PostMessageA(d.m_hWnd, ScriptedDialog::EndMessage, 0, 0);
    };
    EXPECT_EQ(dialog.DoModal(), ScriptedDialog::EndedByScript);
    EXPECT_THAT(dialog.events, ElementsAre("init", "edit:presubclass", "edit:pretranslate", "edit:pretranslate",
                                           "edit:destroyed"));
}

TEST(ModalLoop, EnterReachesOnOKAndEscOnCancel) {
    ScriptedDialog enter(IDD_DESTINATION_DIALOG);
    enter.script = [](ScriptedDialog& d) { d.PostKey(IDC_DEST_FOLDER, VK_RETURN); };
    EXPECT_EQ(enter.DoModal(), IDOK);
    EXPECT_THAT(enter.events, ElementsAre("init", "dialog:pretranslate", "OnOK"));

    ScriptedDialog escape(IDD_OVERWRITE_DIALOG);
    escape.script = [](ScriptedDialog& d) { d.PostKey(IDOK, VK_ESCAPE); };
    EXPECT_EQ(escape.DoModal(), IDCANCEL);
    EXPECT_THAT(escape.events, ElementsAre("init", "dialog:pretranslate", "OnCancel"));
}

TEST(ModalLoop, TheCloseBoxCancels) {
    ScriptedDialog dialog(IDD_ABOUT_DIALOG);
    dialog.script = [](ScriptedDialog& d) { ::PostMessageA(d.m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0); };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_THAT(dialog.events, ElementsAre("init", "OnCancel"));
}

namespace {
void CALLBACK EndSoon(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    KillTimer(hwnd, id);
    ::PostMessageA(hwnd, ScriptedDialog::EndMessage, 0, 0);
}
}  // namespace

TEST(ModalLoop, HelpRequestReachesOnHelpInfoAndShowsNothing) {
    testsupport::MessageBoxWatcher boxes;
    ScriptedDialog dialog(IDD_DESTINATION_DIALOG);
    dialog.script = [](ScriptedDialog& d) {
        SetForegroundWindow(d.m_hWnd);
        SetFocus(GetDlgItem(d.m_hWnd, IDC_DEST_FOLDER));
        ScriptedDialog::TypeKey(VK_F1);
        SetTimer(d.m_hWnd, 1, 300, EndSoon);
    };
    EXPECT_EQ(dialog.DoModal(), ScriptedDialog::EndedByScript);
    EXPECT_THAT(dialog.events, ElementsAre("init", "dialog:pretranslate", "OnHelpInfo"));
    EXPECT_TRUE(boxes.Seen().empty());
}

TEST(ModalLoop, EndingDuringInitialisationReturnsWithoutWaiting) {
    ScriptedDialog dialog(IDD_EXTRACT_PROGRESS_DIALOG);
    dialog.script = [](ScriptedDialog& d) { d.EndDialog(IDCANCEL); };
    DWORD start = GetTickCount();
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_LT(GetTickCount() - start, 15000u);  // no wait for a message (a slow machine takes seconds)
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST(ModalLoop, OneDialogObjectRunsAgainAfterItEnded) {
    ScriptedDialog dialog(IDD_EXTRACT_PROGRESS_DIALOG);
    int runs = 0;
    dialog.script = [&](ScriptedDialog& d) { d.EndDialog(++runs == 1 ? IDOK : IDCANCEL); };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(runs, 2);
}

TEST(ModalLoop, AMissingTemplateFails) {
    CDialog dialog(4321);
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST(Ownership, ADialogWithoutParentIsOwnedByTheMainWindowWhichWaits) {
    ScriptedDialog main(IDD_ARCHIVE_LIST_DIALOG);
    ScriptedDialog inner(IDD_OVERWRITE_DIALOG);
    HWND innerOwner = nullptr;
    BOOL mainEnabledMeanwhile = TRUE;
    inner.script = [&](ScriptedDialog& d) {
        innerOwner = GetWindow(d.m_hWnd, GW_OWNER);
        mainEnabledMeanwhile = IsWindowEnabled(main.m_hWnd);
        d.EndDialog(IDOK);
    };
    BOOL mainEnabledAfter = FALSE;
    main.script = [&](ScriptedDialog& d) {
        EXPECT_EQ(inner.DoModal(), IDOK);
        mainEnabledAfter = IsWindowEnabled(d.m_hWnd);
        d.EndDialog(IDOK);
    };
    AfxGetApp()->m_pMainWnd = &main;
    EXPECT_EQ(main.DoModal(), IDOK);
    AfxGetApp()->m_pMainWnd = nullptr;
    EXPECT_NE(innerOwner, nullptr);
    EXPECT_FALSE(mainEnabledMeanwhile);
    EXPECT_TRUE(mainEnabledAfter);
}

TEST(Ownership, TheMainWindowItselfHasNoOwner) {
    ScriptedDialog main(IDD_SETTINGS_DIALOG);
    HWND owner = reinterpret_cast<HWND>(1);
    main.script = [&](ScriptedDialog& d) {
        owner = GetWindow(d.m_hWnd, GW_OWNER);
        d.EndDialog(IDOK);
    };
    AfxGetApp()->m_pMainWnd = &main;
    EXPECT_EQ(main.DoModal(), IDOK);
    AfxGetApp()->m_pMainWnd = nullptr;
    EXPECT_EQ(owner, nullptr);
}

TEST(ColourRequest, TheHandlersBrushAndColoursReachTheControl) {
    ColouringDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_LIST_PROGRESS_DIALOG));
    ColourAnswer coloured = AskColour(dialog, IDC_PROGRESS_ARCHIVE_LINE);
    EXPECT_EQ(coloured.brush, dialog.yellow());
    EXPECT_EQ(coloured.text, RGB(0, 0, 255));
    EXPECT_EQ(coloured.background, RGB(255, 255, 0));
    EXPECT_EQ(dialog.lastKind, static_cast<UINT>(CTLCOLOR_STATIC));

    ColourAnswer plain = AskColour(dialog, IDC_PROGRESS_ENTRY_LINE);
    EXPECT_NE(plain.brush, dialog.yellow());
    EXPECT_NE(plain.text, RGB(0, 0, 255));
    EXPECT_TRUE(dialog.DestroyWindow());
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST(TakenOverControl, GetsTheMessagesAndPassesTheRestToTheControl) {
    CDialog dialog(IDD_DESTINATION_DIALOG);
    ASSERT_TRUE(dialog.Create(IDD_DESTINATION_DIALOG));
    std::vector<std::string> log;
    RecordingEdit edit(&log);
    ASSERT_TRUE(edit.SubclassDlgItem(IDC_DEST_FOLDER, &dialog));
    EXPECT_EQ(CWnd::FromHandle(GetDlgItem(dialog.m_hWnd, IDC_DEST_FOLDER)), &edit);
    EXPECT_EQ(CWnd::FromHandlePermanent(dialog.m_hWnd), &dialog);

    SendMessageA(edit.m_hWnd, WM_CHAR, 'x', 0);
    EXPECT_EQ(edit.GetWindowText(), "x");
    EXPECT_EQ(SendMessageA(edit.m_hWnd, WM_APP + 9, 0, 0), 4242);
    EXPECT_THAT(log, ElementsAre("edit:presubclass", "edit:char"));

    // Given back, the control works on its own again.
    edit.UnsubclassWindow();
    SendMessageA(GetDlgItem(dialog.m_hWnd, IDC_DEST_FOLDER), WM_CHAR, 'y', 0);
    EXPECT_EQ(log.size(), 2u);
    EXPECT_EQ(CWnd::FromHandlePermanent(GetDlgItem(dialog.m_hWnd, IDC_DEST_FOLDER)), nullptr);
    dialog.DestroyWindow();
}

namespace {
class OwnerDrawnButton : public CButton {
public:
    void DrawItem(DRAWITEMSTRUCT* item) override {
        ++draws;
        lastRight = item->rcItem.right;
        FillRect(item->hDC, &item->rcItem, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    int draws = 0;
    LONG lastRight = 0;
};
}  // namespace

TEST(TakenOverControl, AnOwnerDrawnButtonDrawsItselfWhenItsParentIsAsked) {
    CDialog dialog(IDD_ARCHIVE_LIST_DIALOG);
    ASSERT_TRUE(dialog.Create(IDD_ARCHIVE_LIST_DIALOG));
    OwnerDrawnButton button;
    ASSERT_TRUE(button.SubclassDlgItem(IDC_ARCLIST_EXTRACT_ALL, &dialog));
    button.SetButtonStyle(BS_OWNERDRAW, FALSE);
    EXPECT_EQ(button.GetButtonStyle() & BS_TYPEMASK, static_cast<UINT>(BS_OWNERDRAW));
    dialog.ShowWindow(SW_SHOWNA);
    button.RedrawWindow();
    EXPECT_GE(button.draws, 1);
    RECT client;
    button.GetClientRect(&client);
    EXPECT_EQ(button.lastRight, client.right);
    dialog.DestroyWindow();
    EXPECT_EQ(button.m_hWnd, nullptr);
}

TEST(Modeless, EscCallsOnCancelWhichOnlyHidesAndThePumpRunsTheDialogKeys) {
    ScriptedDialog dialog(IDD_LIST_PROGRESS_DIALOG);
    ASSERT_TRUE(dialog.Create(IDD_LIST_PROGRESS_DIALOG));
    EXPECT_TRUE(dialog.IsWindowVisible());
    dialog.PostKey(IDCANCEL, VK_ESCAPE);
    PumpPendingMessages();
    EXPECT_THAT(dialog.events, ElementsAre("init", "dialog:pretranslate", "OnCancel"));
    EXPECT_TRUE(dialog.IsWindow());
    EXPECT_FALSE(dialog.IsWindowVisible());
    dialog.DestroyWindow();
}

TEST(Modeless, IsOwnedByItsParent) {
    CDialog parent(IDD_ARCHIVE_LIST_DIALOG);
    ASSERT_TRUE(parent.Create(IDD_ARCHIVE_LIST_DIALOG));
    CDialog child(IDD_LIST_PROGRESS_DIALOG);
    ASSERT_TRUE(child.Create(IDD_LIST_PROGRESS_DIALOG, &parent));
    EXPECT_EQ(GetWindow(child.m_hWnd, GW_OWNER), parent.m_hWnd);
    child.DestroyWindow();
    parent.DestroyWindow();
}

namespace {
RECT g_placedRect;
void CALLBACK RecordPlaceAndEnd(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    KillTimer(hwnd, id);
    GetWindowRect(hwnd, &g_placedRect);
    ::PostMessageA(hwnd, ScriptedDialog::EndMessage, 0, 0);
}

POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
}  // namespace

TEST(Placement, ADialogThatDoesNotPlaceItselfOpensCentredOverItsOwner) {
    CDialog owner(IDD_ARCHIVE_LIST_DIALOG);
    ASSERT_TRUE(owner.Create(IDD_ARCHIVE_LIST_DIALOG));
    owner.SetWindowPos(nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    ScriptedDialog dialog(IDD_DESTINATION_DIALOG, &owner);
    dialog.script = [](ScriptedDialog& d) { SetTimer(d.m_hWnd, 1, 10, RecordPlaceAndEnd); };
    EXPECT_EQ(dialog.DoModal(), ScriptedDialog::EndedByScript);
    RECT ownerRect;
    owner.GetWindowRect(&ownerRect);
    EXPECT_NEAR(Centre(g_placedRect).x, Centre(ownerRect).x, 1);
    EXPECT_NEAR(Centre(g_placedRect).y, Centre(ownerRect).y, 1);
    owner.DestroyWindow();
}

TEST(Placement, ADialogThatPlacesItselfStaysThere) {
    ScriptedDialog dialog(IDD_ABOUT_DIALOG);
    dialog.script = [](ScriptedDialog& d) {
        d.SetWindowPos(nullptr, 33, 44, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        SetTimer(d.m_hWnd, 1, 10, RecordPlaceAndEnd);
    };
    EXPECT_EQ(dialog.DoModal(), ScriptedDialog::EndedByScript);
    EXPECT_EQ(g_placedRect.left, 33);
    EXPECT_EQ(g_placedRect.top, 44);
}
