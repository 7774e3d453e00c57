#pragma once
// CBusySpinner: a small looping animation (a ring of fading spokes) that says "working".
// Painted, so it needs no animation file. Thread rule: GUI thread.
#include <QTimer>
#include <QWidget>

class CBusySpinner : public QWidget {
  Q_OBJECT
 public:
  explicit CBusySpinner(QWidget* parent = nullptr);
  void Start();
  // Stops on the current frame, drawn in grey.
  void Stop();
  bool IsSpinning() const { return m_timer.isActive(); }
  QSize sizeHint() const override { return QSize(40, 40); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  static constexpr int kSpokes = 12;
  static constexpr int kFrameMs = 80;
  QTimer m_timer;
  int m_nFrame = 0;
};
