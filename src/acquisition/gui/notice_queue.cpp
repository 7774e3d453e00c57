#include "acquisition/gui/notice_queue.h"

#include <QPointer>

CNoticeQueue::CNoticeQueue(IUserPrompt& prompt, QObject* parent)
    : QObject(parent), m_prompt(prompt) {}

void CNoticeQueue::Show(std::vector<AcquisitionNotice> notices) {
  for (AcquisitionNotice& notice : notices)
    m_pending.push_back(std::move(notice));
  if (m_bShowing)
    return;
  QPointer<CNoticeQueue> self(this);
  m_bShowing = true;
  while (!m_pending.empty()) {
    const AcquisitionNotice notice = std::move(m_pending.front());
    m_pending.pop_front();
    ShowNotices(m_prompt, {notice});
    if (self.isNull())
      return;  // the owner went while the notice was open
  }
  m_bShowing = false;
}
