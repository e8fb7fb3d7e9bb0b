#pragma once
// The results of the host's archive operations: success, or a negative code named after what
// failed. Every negative code down to LowestPluginResult has a fixed message
// (PluginErrorText), which the window that called the host shows; StoppedByUser has none. The
// codes marked "not returned" belong to pictures and to archives held in memory, which the
// program never reads; they are here for their messages.
enum PluginResult : int {
    PluginSucceeded = 0,
    BitmapNotUnpacked = -1,               // not returned
    ArchiveNotOpened = -2,                // ListArchive: the file cannot be opened for reading
    PictureInfoFailed = -3,               // not returned
    PictureDataFailed = -4,               // not returned
    MemoryNotLocked = -5,                 // not returned
    BufferNotAllocated = -6,              // not returned
    NoPluginAccepts = -7,                 // ListArchive: no archive plug-in takes the file
    ArchivedPictureUnsupported = -8,      // not returned
    NotAPicture = -9,                     // not returned
    EntryNotUnpacked = -10,               // FetchEntry: GetFile failed or handed over too little
    PluginNotBound = -11,                 // FetchEntry: the slot holds no usable archive plug-in
    MemoryEntryNotUnpacked = -12,         // not returned
    BlockNotLocked = -13,                 // the plug-in's block cannot be locked
    MemoryBlockNotLocked = -14,           // not returned
    EntryBufferNotAllocated = -15,        // FetchEntry: nowhere to hand the entry over
    MemoryEntryBufferNotAllocated = -16,  // not returned
    EntryInfoFailed = -17,                // ListArchive: GetFileInfo failed for a record
    MemoryEntryInfoFailed = -18,          // not returned
    ArchiveInfoMissing = -19,             // ListArchive: GetArchiveInfo handed over no records
    MemoryArchiveInfoMissing = -20,       // not returned
    FileNameUnknown = -21,                // not returned
    // ListArchive, FetchEntry: the plug-in says the user stopped it (a password asked for and
    // cancelled). Nothing is said about it: the run, or the window, ends as quietly as after
    // the progress dialog's 中断.
    StoppedByUser = -100,
    // UnpackEntryInto: the plug-in does not write files itself (GetFile's "not implemented");
    // the entry is fetched into memory instead. Nothing is said about it.
    FileOutputNotOffered = -101,
};

// The lowest code that has a message.
constexpr int LowestPluginResult = FileNameUnknown;
