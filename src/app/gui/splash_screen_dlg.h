#pragma once
// CSplashScreenDlg: the modeless start-up window with a picture, the title line, a status
// line and a progress bar of 12 steps. It closes itself once 16 s have passed (marks at
// 8 s and 16 s, checked by a 200 ms timer) or at once on a left click.
#include <QDialog>
#include <QTimer>
#include <functional>

#include "app/splash_progress.h"
#include "app/splash_state.h"
#include "base/clock.h"

class QLabel;
class QProgressBar;

class CSplashScreenDlg : public QDialog, public ISplashProgress {
  Q_OBJECT
 public:
  explicit CSplashScreenDlg(const IClock& clock, QWidget* parent = nullptr);
  // Starts the timer; the version check hook runs on its first tick.
  void Open(std::function<void()> startVersionCheck);

  void ShowText(const std::string& text) override;
  void ShowStep(const std::string& text, bool hideProgress) override;
  // Stops the timer, ends the countdown and closes the window.
  void CloseSplash();

  // One round of the start-up pause; false once the countdown is over.
  bool CountDown() { return m_state.CountDown(); }
  bool IsClosed() const { return m_state.IsClosed(); }
  const CSplashState& State() const { return m_state; }
  QProgressBar* Progress() const { return m_pProgress; }
  QString StatusText() const;

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void OnTimer();

  const IClock& m_clock;
  CSplashState m_state;
  QTimer m_timer;
  std::function<void()> m_fnStartVersionCheck;
  QLabel* m_pPicture;
  QLabel* m_pTitle;
  QLabel* m_pStatus;
  QProgressBar* m_pProgress;
};
