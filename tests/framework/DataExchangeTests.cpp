// Data exchange between dialog fields and controls: texts with their byte limit, check
// boxes, radio groups and taken-over controls.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include "framework/Button.h"
#include "framework/DataExchange.h"
#include "res/resource.h"
#include "tests/framework/ScriptedDialog.h"
#include "tests/support/TestSupport.h"

namespace {

class FolderDialog : public ScriptedDialog {
public:
    FolderDialog() : ScriptedDialog(IDD_DESTINATION_DIALOG) {}
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Control(dx, IDC_DEST_BROWSE, browse);
        DDX_Text(dx, IDC_DEST_FOLDER, folder, 200);
        DDX_Check(dx, IDC_DEST_KEEP_PATHS, keepPaths);
    }
    std::string folder;
    int keepPaths = 0;
    CButton browse;
};

class ChoiceDialog : public ScriptedDialog {
public:
    ChoiceDialog() : ScriptedDialog(IDD_OVERWRITE_DIALOG) {}
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Radio(dx, IDC_OVERWRITE_CHOICE_OVERWRITE, choice);
        DDX_Text(dx, IDC_OVERWRITE_FILE_LINE, fileLine);
    }
    int choice = -1;
    std::string fileLine;
};

const int RadioIds[] = {IDC_OVERWRITE_CHOICE_OVERWRITE, IDC_OVERWRITE_CHOICE_KEEP,
                        IDC_OVERWRITE_CHOICE_OVERWRITE_ALL, IDC_OVERWRITE_CHOICE_IGNORE_ALL};

// Which of the four radio buttons are checked, as "0100".
std::string RadioStates(HWND dialog) {
    std::string states;
    for (int id : RadioIds) states += IsDlgButtonChecked(dialog, id) == BST_CHECKED ? '1' : '0';
    return states;
}

void PressOK(HWND dialog) { ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }

}  // namespace

TEST(DataExchange, TextAndCheckGoOntoTheControlsAndComeBack) {
    FolderDialog dialog;
    dialog.folder = "C:\\表示\\ソフト\\";  // second bytes 0x5C
    dialog.keepPaths = 1;
    std::string shownText;
    UINT shownCheck = 99, limit = 0;
    bool browseTaken = false;
    dialog.script = [&](ScriptedDialog& d) {
        shownText = testsupport::WindowText(GetDlgItem(d.m_hWnd, IDC_DEST_FOLDER));
        shownCheck = IsDlgButtonChecked(d.m_hWnd, IDC_DEST_KEEP_PATHS);
        limit = static_cast<UINT>(SendDlgItemMessageA(d.m_hWnd, IDC_DEST_FOLDER, EM_GETLIMITTEXT, 0, 0));
        browseTaken = CWnd::FromHandlePermanent(GetDlgItem(d.m_hWnd, IDC_DEST_BROWSE)) == &dialog.browse;
        SetDlgItemTextA(d.m_hWnd, IDC_DEST_FOLDER, "D:\\出力");
        CheckDlgButton(d.m_hWnd, IDC_DEST_KEEP_PATHS, BST_UNCHECKED);
        d.PostKey(IDC_DEST_FOLDER, VK_RETURN);
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(shownText, "C:\\表示\\ソフト\\");
    EXPECT_EQ(shownCheck, static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(limit, 200u);
    EXPECT_TRUE(browseTaken);
    EXPECT_EQ(dialog.folder, "D:\\出力");
    EXPECT_EQ(dialog.keepPaths, 0);
    EXPECT_EQ(dialog.browse.m_hWnd, nullptr);
}

TEST(DataExchange, CancelLeavesTheFieldsAsTheyWere) {
    FolderDialog dialog;
    dialog.folder = "C:\\a";
    dialog.script = [](ScriptedDialog& d) {
        SetDlgItemTextA(d.m_hWnd, IDC_DEST_FOLDER, "changed");
        d.PostKey(IDC_DEST_FOLDER, VK_ESCAPE);
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.folder, "C:\\a");
}

TEST(DataExchange, TypingStopsAtTheByteLimit) {
    FolderDialog dialog;
    std::string typed;
    dialog.script = [&](ScriptedDialog& d) {
        std::string many(250, 'x');
        SendDlgItemMessageA(d.m_hWnd, IDC_DEST_FOLDER, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(many.c_str()));
        typed = testsupport::WindowText(GetDlgItem(d.m_hWnd, IDC_DEST_FOLDER));
        d.EndDialog(IDCANCEL);
    };
    dialog.DoModal();
    EXPECT_EQ(typed.size(), 200u);
}

TEST(DataExchange, ALongerTextIsRefusedWithTheStandardMessageAndTheDialogStays) {
    testsupport::MessageBoxWatcher boxes;
    FolderDialog dialog;
    dialog.folder = "before";
    dialog.keepPaths = 0;
    dialog.script = [&](ScriptedDialog& d) {
        SetDlgItemTextA(d.m_hWnd, IDC_DEST_FOLDER, std::string(201, 'a').c_str());
        CheckDlgButton(d.m_hWnd, IDC_DEST_KEEP_PATHS, BST_CHECKED);
        PressOK(d.m_hWnd);
        ::PostMessageA(d.m_hWnd, ScriptedDialog::EndMessage, 0, 0);
    };
    int result = static_cast<int>(dialog.DoModal());
    EXPECT_EQ(result, ScriptedDialog::EndedByScript);
    ASSERT_TRUE(boxes.WaitFor(1));
    std::vector<testsupport::SeenBox> seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Varnito");
    EXPECT_EQ(seen[0].text, "200 文字以内で入力してください。");
    EXPECT_EQ(dialog.folder, "before");
    EXPECT_EQ(dialog.keepPaths, 0) << "the exchange stops at the refused field";
}

TEST(DataExchange, ExactlyTheLimitInDoubleByteCharactersIsAccepted) {
    FolderDialog dialog;
    std::string hundredKanji;
    for (int i = 0; i < 100; ++i) hundredKanji += "表";
    dialog.script = [&](ScriptedDialog& d) {
        SetDlgItemTextA(d.m_hWnd, IDC_DEST_FOLDER, hundredKanji.c_str());
        PressOK(d.m_hWnd);
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.folder, hundredKanji);
    EXPECT_EQ(dialog.folder.size(), 200u);
}

TEST(DataExchange, TheRefusalTextNamesTheLimit) {
    EXPECT_EQ(TextTooLongMessage(200), "200 文字以内で入力してください。");
    EXPECT_EQ(TextTooLongMessage(7), "7 文字以内で入力してください。");
}

TEST(DataExchange, RadioIndexSelectsOneButtonOfTheGroupAndReadsBack) {
    struct Case {
        int given;
        const char* shown;
        int clicked;      // radio index clicked before OK, -1 none
        int expected;
    };
    const Case cases[] = {
        {0, "1000", -1, 0}, {1, "0100", 3, 3}, {2, "0010", 1, 1}, {3, "0001", -1, 3}, {-1, "0000", -1, -1},
    };
    for (const Case& c : cases) {
        ChoiceDialog dialog;
        dialog.choice = c.given;
        std::string shown;
        dialog.script = [&](ScriptedDialog& d) {
            shown = RadioStates(d.m_hWnd);
            if (c.clicked >= 0) SendDlgItemMessageA(d.m_hWnd, RadioIds[c.clicked], BM_CLICK, 0, 0);
            PressOK(d.m_hWnd);
        };
        EXPECT_EQ(dialog.DoModal(), IDOK) << c.given;
        EXPECT_EQ(shown, c.shown) << c.given;
        EXPECT_EQ(dialog.choice, c.expected) << c.given;
    }
}

TEST(DataExchange, ATextOnAStaticControlIsShown) {
    ChoiceDialog dialog;
    dialog.fileLine = " ソース.txt";
    std::string shown;
    dialog.script = [&](ScriptedDialog& d) {
        shown = testsupport::WindowText(GetDlgItem(d.m_hWnd, IDC_OVERWRITE_FILE_LINE));
        d.EndDialog(IDCANCEL);
    };
    dialog.DoModal();
    EXPECT_EQ(shown, " ソース.txt");
}
