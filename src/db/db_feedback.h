#pragma once
// IDbFeedback: what CSQLite would show the user besides log lines: the wait cursor
// around every operation and the error beep before an error line. The core cannot show
// either; the GUI hands in an implementation (override cursor, system beep), tests may
// count the calls, and without one nothing is shown. Thread rule: CSQLite's thread.
class IDbFeedback {
 public:
  virtual ~IDbFeedback() = default;
  virtual void BeginWait() = 0;
  virtual void EndWait() = 0;
  virtual void ErrorBeep() = 0;
};
