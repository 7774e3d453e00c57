#pragma once
// The output pane: four tabbed lists, one per log channel, each showing its newest line
// on top. It is the program's ILogSink once the main frame exists.
// Thread rule: GUI thread only (work on other threads hands its lines to the GUI thread).
#include <QDockWidget>
#include <QListWidget>
#include <array>

#include "base/log_sink.h"
#include "base/user_prompt.h"

class QTabWidget;

class COutputList : public QListWidget {
  Q_OBJECT
 public:
  explicit COutputList(IUserPrompt* prompt, QWidget* parent = nullptr);
  // Inserts the line on top and widens the horizontal extent to the widest line.
  void AddLine(const QString& line);
  int HorizontalExtent() const { return m_nHorizontalExtent; }
  // Copies the selected line to the clipboard; false with no selection.
  bool CopySelectedLine();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void updateGeometries() override;

 private:
  void ShowCaption(const char* caption);

  IUserPrompt* m_pPrompt;
  int m_nHorizontalExtent = 0;
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

 private:
  QTabWidget* m_pTabs;
  std::array<COutputList*, kChannelCount> m_lists{};
};
