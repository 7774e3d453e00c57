#pragma once
// CThreadProgressDlg: the modeless window that shows a worker's progress (backup save,
// clipboard copy, recorded-data load, version check). The owner feeds it from the job
// record on its tick; the dialog never sees the worker. It holds the wait cursor while
// it is shown. Finish shows the Close button and closes the dialog one second later;
// before Finish every close request is ignored, since the work cannot be abandoned.
// closed(kind) is emitted once; the owner then forgets it (deleteLater).
// Thread rule: GUI thread.
#include <QDialog>
#include <QTimer>

class CBusySpinner;
class QLabel;
class QProgressBar;
class QPushButton;

class CThreadProgressDlg : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kKindSave = 1;
  static constexpr int kKindClipboard = 2;
  static constexpr int kKindLoad = 3;
  static constexpr int kKindUpdate = 4;
  static constexpr int kCloseDelayMs = 1000;

  CThreadProgressDlg(int kind, const QString& caption, int minimum, int maximum,
                     const QString& text, QWidget* parent = nullptr);
  ~CThreadProgressDlg() override;

  int Kind() const { return m_nKind; }
  void SetProgress(int position, const QString& text);
  // The end of the job: final text, Close shown, animation stopped, closing timer started.
  void Finish(const QString& finalText);
  bool IsFinished() const { return m_bFinished; }

  // For tests and the owner's checks.
  QString Text() const;
  const QProgressBar* Bar() const { return m_pBar; }
  const QPushButton* CloseButton() const { return m_pClose; }
  bool IsAnimating() const;

 signals:
  void closed(int kind);

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  void HoldWaitCursor(bool hold);

  int m_nKind;
  bool m_bFinished = false;
  bool m_bCursorHeld = false;
  bool m_bClosedSent = false;
  CBusySpinner* m_pSpinner;
  QLabel* m_pText;
  QProgressBar* m_pBar;
  QPushButton* m_pClose;
  QTimer m_closeTimer;
};
