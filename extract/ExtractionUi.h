#pragma once
#include "extract/ExtractionPlan.h"

// The three ways an extraction run reaches the user. The progress dialogs, the overwrite
// dialog and the program's message boxes implement them; tests substitute their own.

// The progress dialog of a run.
class ExtractionProgress {
public:
    virtual ~ExtractionProgress() = default;
    virtual void SetRange(int upper) = 0;  // the bar runs from 0 to upper
    virtual void SetPosition(int position) = 0;
    // The entry being extracted. Position and name may reach the screen later, with the
    // next ShowNow at the latest.
    virtual void ShowEntryName(const wchar_t* name) = 0;
    // How far the entry being extracted has come, `done` of `total`: the bar moves within the
    // entry's step. May reach the screen later, as the position does.
    virtual void ShowEntryShare(int done, int total) = 0;
    // Brings what was set so far onto the screen at once: the loop calls it before a
    // question or a message and when the run ends.
    virtual void ShowNow() = 0;
    // Whether the user asked to stop. The loop asks once per entry; the dialog first lets the
    // windows of the thread handle what is waiting for them (the abort button, Esc, painting).
    virtual bool AbortRequested() = 0;
};

// The overwrite question. Returns true with the chosen mode to resume, false to stop.
class OverwriteAsker {
public:
    virtual ~OverwriteAsker() = default;
    virtual bool Ask(const OverwriteQuestion& question, OverwriteMode* chosen) = 0;
};

// The messages of a run: the program's own texts, and plug-in result codes.
class ExtractionMessages {
public:
    virtual ~ExtractionMessages() = default;
    virtual void ShowMessage(const char* text) = 0;
    virtual void ShowPluginError(int code) = 0;
};
