#pragma once
// CNoticeQueue: shows the acquisition's reports and messages one after another. A notice
// that comes while another is open (a base tick inside the open dialog's event loop) waits
// for it, so the user answers them in the order they came and never two at once.
// Thread rule: GUI thread.
#include <QObject>
#include <deque>
#include <vector>

#include "acquisition/acquisition_notice.h"

class IUserPrompt;

class CNoticeQueue : public QObject {
  Q_OBJECT
 public:
  // prompt outlives the queue: a notice still goes out if the queue's owner goes meanwhile.
  explicit CNoticeQueue(IUserPrompt& prompt, QObject* parent = nullptr);

  // Queues the notices and, unless one is open already, shows every waiting one.
  void Show(std::vector<AcquisitionNotice> notices);
  bool IsShowing() const { return m_bShowing; }
  size_t PendingCount() const { return m_pending.size(); }

 private:
  IUserPrompt& m_prompt;
  std::deque<AcquisitionNotice> m_pending;
  bool m_bShowing = false;
};
