#pragma once
// The layout of a resizable dialog, declared as data: a table of its controls and how each
// one follows the dialog's edges when the dialog changes size. The dialog records the table
// once, at its first size, and applies it at every new size.
#include <windows.h>
#include <cstddef>
#include <vector>

// How a control follows the edges of its dialog.
enum class AnchorKind {
    Height = 1,       // its height grows and shrinks with the dialog's
    Width = 2,        // its width grows and shrinks with the dialog's
    Size = 3,         // both
    BottomLeft = 4,   // it keeps its place relative to the dialog's bottom-left corner
    TopRight = 5,     // ... top-right corner
    BottomRight = 6,  // ... bottom-right corner
};

// One control of the table. The measures are what RecordAnchors finds, in pixels: for the
// growing kinds the dialog's height and width minus the control's, for the others the
// control's distance to the corner it keeps.
struct AnchorRow {
    int controlId;
    AnchorKind kind;
    bool redraw;  // hide and show the control after it moved, which repaints it
    int vertical = 0;
    int horizontal = 0;
};

class CAnchorTable {
public:
    template <size_t N>
    explicit CAnchorTable(const AnchorRow (&rows)[N]) : rows_(rows, rows + N) {}

    // Measures each control of the table against the dialog's window rectangle (screen
    // coordinates). A control the dialog does not have is left out.
    void RecordAnchors(HWND dialog, const RECT& dialogRect);
    // Moves or sizes each visible control of the table for the dialog's new window rectangle
    // and puts it on top of its siblings; does nothing while the dialog is hidden.
    void ApplyAnchors(HWND dialog, const RECT& dialogRect) const;

private:
    std::vector<AnchorRow> rows_;
};
