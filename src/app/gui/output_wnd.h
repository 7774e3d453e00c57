#pragma once
// The output pane: four tabbed lists, one per log channel, each showing its newest line
// on top. It is the program's ILogSink once the main frame exists.
// Thread rule: GUI thread only (work on other threads hands its lines to the GUI thread).
#include <QDockWidget>
#include <QListWidget>
#include <array>

#include "base/log_sink.h"
#include "base/user_prompt.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QTabWidget;

// What the pane shows of its lines: those containing the find text (any case), and none
// of the SQL statement lines when they are hidden. Hidden lines are kept, not dropped.
struct OutputFilter {
  QString findText;
  bool hideSqlStatements = false;
  bool Shows(const QString& line) const;
};
// A line of the database layer's statement log ("Executing SQL Transaction: ...",
// "SQL Query Executed in N msec.").
bool IsSqlStatementLine(const QString& line);

// Lines kept per channel: the newest ones (a long acquisition keeps logging).
inline constexpr int kMaxOutputLines = 20000;

class COutputList : public QListWidget {
  Q_OBJECT
 public:
  explicit COutputList(IUserPrompt* prompt, QWidget* parent = nullptr);
  // Inserts the line on top and widens the horizontal extent to the widest line.
  void AddLine(const QString& line);
  int HorizontalExtent() const { return m_nHorizontalExtent; }
  // Copies the selected line to the clipboard; false with no selection.
  bool CopySelectedLine();
  // Shows only the lines the filter lets through (the new ones too).
  void SetFilter(const OutputFilter& filter);
  int ShownCount() const { return m_nShown; }

 signals:
  // A line was added (shown or not).
  void lineAdded();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void updateGeometries() override;

 private:
  void ShowCaption(const char* caption);
  int LineWidth(const QString& line) const;

  IUserPrompt* m_pPrompt;
  int m_nHorizontalExtent = 0;
  OutputFilter m_filter;
  int m_nShown = 0;
  int m_nShownExtent = 0;  // the widest line the filter shows
};

class COutputWnd : public QDockWidget, public ILogSink {
  Q_OBJECT
 public:
  static constexpr int kChannelCount = 4;

  explicit COutputWnd(IUserPrompt* prompt, QWidget* parent = nullptr);
  void Log(int channel, const std::string& line) override;

  COutputList* List(int channel) const;
  QTabWidget* Tabs() const { return m_pTabs; }
  // Brings a channel's tab to the front.
  void ShowChannel(int channel);
  // The find box and the switch that hides the SQL statement lines (off at start).
  QLineEdit* FindBox() const { return m_pFind; }
  QCheckBox* HideSqlSwitch() const { return m_pHideSql; }
  QLabel* ShownLabel() const { return m_pShown; }

 private:
  void ApplyFilter();
  void UpdateShownLabel();

  QTabWidget* m_pTabs;
  QLineEdit* m_pFind;
  QCheckBox* m_pHideSql;
  QLabel* m_pShown;
  std::array<COutputList*, kChannelCount> m_lists{};
};
