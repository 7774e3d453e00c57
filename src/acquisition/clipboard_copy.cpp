#include "acquisition/clipboard_copy.h"

#include "acquisition/acquired_data_text.h"
#include "acquisition/opc_data_job.h"

void RunClipboardCopy(COPCDataJob& job) {
  if (!job.m_pRows) {
    // Shown by the owner: a worker never opens a window.
    job.Fail(kCopyNoViewCode, kNullCopyView);
    return;
  }
  job.SetState(kJobCopying);
  const AcquiredRows& source = *job.m_pRows;
  std::string text;
  AcquiredDataText::AppendHeader(text, source.headings, '\t', AcquiredDataText::kClipboardLineEnd);
  const int columns = static_cast<int>(source.headings.size());
  // The rows are read a page at a time; only the clipboard text itself is whole.
  const bool read = source.ForEachRow([&](const CompactDataSet& row) {
    AcquiredDataText::AppendRow(text, row, columns, '\t', AcquiredDataText::kClipboardLineEnd);
    job.AddDone();
    job.MarkProgressChanged();
  });
  if (!read) {
    job.Fail(kCopyUnreadableCode, kCopyRowUnreadable);
    return;
  }
  text += "\r\n";
  job.m_sText = std::move(text);
  job.SetState(kJobFinished);
}
