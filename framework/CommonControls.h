#pragma once

// Registers the common control classes (list view, progress bar, tooltips ...) once per
// process; dialogs whose templates use them need this before they are created.
void EnsureCommonControls();
