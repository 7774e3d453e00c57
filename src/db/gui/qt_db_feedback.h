#pragma once
// CQtDbFeedback: the desktop program's IDbFeedback. The wait cursor is the application's
// override cursor, set by the outermost BeginWait and restored by its EndWait, so that
// nested operations (a load step running several queries) neither flicker nor leave the
// cursor behind. The error beep is the system beep. Thread rule: GUI thread (calls from
// any other thread show nothing).
#include "db/db_feedback.h"

class CQtDbFeedback : public IDbFeedback {
 public:
  CQtDbFeedback() = default;
  ~CQtDbFeedback() override;
  CQtDbFeedback(const CQtDbFeedback&) = delete;
  CQtDbFeedback& operator=(const CQtDbFeedback&) = delete;

  void BeginWait() override;
  void EndWait() override;  // an EndWait without its BeginWait is ignored
  void ErrorBeep() override;

  // Open waits (0: no wait cursor of ours) and beeps so far.
  int WaitDepth() const { return m_nWaitDepth; }
  int BeepCount() const { return m_nBeeps; }

 private:
  int m_nWaitDepth = 0;
  int m_nBeeps = 0;
};
