#pragma once
// The clipboard copy worker: builds the tab-separated text of the job's rows into the
// job's buffer. The text goes to the clipboard on the acquisition (GUI) thread, which
// owns the clipboard, when the owner sees status 20.
// Thread rule: RunClipboardCopy runs on the worker thread and touches only the job.

class COPCDataJob;

inline constexpr char kNullCopyView[] = "Null View in ThreadCopyOPCData !!! Please Call Quorix ...";
// The error code of a copy that had no view to read from.
inline constexpr int kCopyNoViewCode = 1;
// A data set that could not be read back from the recording: the copy fails.
inline constexpr int kCopyUnreadableCode = 2;
inline constexpr char kCopyRowUnreadable[] =
    "a data set could not be read back from the Velmora Database";

void RunClipboardCopy(COPCDataJob& job);
