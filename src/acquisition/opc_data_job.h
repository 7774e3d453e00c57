#pragma once
// COPCDataJob: the record of one backup save (kind 1) or clipboard copy (kind 2), shared
// by the acquisition thread and the worker. The owner fills the plain fields before the
// worker starts and never changes them while it runs; the worker publishes its progress
// through the CWorkerJob counters (State() is the status: 10 saving, 12 copying, 20 done,
// 21 failed; Done() is the current row) and the progress steps below. Its output text
// (the clipboard buffer) is read by the owner only after the final state.
// Thread rule: see CWorkerJob.
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "acquisition/acquired_rows.h"
#include "base/worker_job.h"

inline constexpr int kJobKindSave = 1;
inline constexpr int kJobKindClipboard = 2;

inline constexpr int32_t kJobSaving = 10;
inline constexpr int32_t kJobCopying = 12;

// The error cause of a job that met no exception.
inline constexpr char kJobCauseNone[] = "None";

class COPCDataJob : public CWorkerJob {
 public:
  explicit COPCDataJob(int kind) : m_nKind(kind) {}

  int Kind() const { return m_nKind; }
  int32_t ProgressSteps() const { return m_nProgressSteps.load(std::memory_order_relaxed); }
  // The error cause once the job ended: "None" or the text of what went wrong.
  std::string ErrorCause() const {
    const std::string text = ErrorText();
    return text.empty() ? std::string(kJobCauseNone) : text;
  }

  // --- Filled by the owner before the worker starts ---
  std::shared_ptr<const AcquiredRows> m_pRows;  // null: no view to read from
  std::string m_sPath;                          // save: folder
  std::string m_sFileName;                      // save: file name
  std::string m_sFullPath;                      // save: path + file name, as opened
  char m_cSeparator = ';';
  int m_nFirstRow = 0;
  int m_nEndRow = 0;
  uint32_t m_nEpoch = 0;  // the owner's rows generation when the job was filled

  // --- Written by the worker ---
  void AddProgressStep() { m_nProgressSteps.fetch_add(1, std::memory_order_relaxed); }
  void ResetProgressSteps() { m_nProgressSteps.store(0, std::memory_order_relaxed); }
  std::string m_sText;  // clipboard: the text to hand over (read after the final state)

 private:
  int m_nKind;
  std::atomic<int32_t> m_nProgressSteps{0};
};
