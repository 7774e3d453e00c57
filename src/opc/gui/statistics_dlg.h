#pragma once
// CStatisticsDlg: "Show Acquisition Statistics ". The server with its groups and, for the
// selected group, its read statistics as figures and bars (a value equal to the update
// rate stands at the "Target" mark), refreshed every 2 seconds. Thread rule: GUI thread.
#include <QDialog>
#include <QWidget>

#include "opc/statistics_presenter.h"

class QGroupBox;
class QLabel;
class QTreeWidget;

// One bar from 0 to kStatisticsBarRange with the target mark at its middle.
class CStatisticsBarWidget : public QWidget {
  Q_OBJECT

 public:
  using QWidget::QWidget;
  void SetPosition(int position);
  int Position() const { return m_nPosition; }
  QSize sizeHint() const override { return {240, 16}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int m_nPosition = 0;
};

inline constexpr char kStatisticsTitle[] = "Show Acquisition Statistics ";

class CStatisticsDlg : public QDialog {
  Q_OBJECT

 public:
  CStatisticsDlg(const COPCServer& server, IUserPrompt& prompt, QWidget* parent = nullptr);

  QTreeWidget* GroupList() const { return m_pGroups; }
  QGroupBox* GroupFrame() const { return m_pFrame; }
  // The figure and bar of a row: 0 current, 1 minimum, 2 maximum, 3 average.
  QLabel* Figure(int row) const { return m_figures[row]; }
  CStatisticsBarWidget* Bar(int row) const { return m_bars[row]; }
  QLabel* CountLabel() const { return m_pCount; }
  // Shows the selected group again (what the timer does every 2 seconds).
  void RefreshGroup();

 protected:
  void timerEvent(QTimerEvent* event) override;
  void done(int result) override;

 private:
  void ShowGroup(const std::string& name);

  const COPCServer& m_server;
  IUserPrompt& m_prompt;
  std::string m_sGroup;
  int m_nTimer = 0;
  QTreeWidget* m_pGroups;
  QGroupBox* m_pFrame;
  QLabel* m_pCount;
  QLabel* m_figures[4];
  CStatisticsBarWidget* m_bars[4];
};
