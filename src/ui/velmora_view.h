#pragma once
// The common base of the frame's views: a header band with the view's title and a short
// explanation, and the content area below it. The frame switches between views and
// calls the hooks below; each view owns its commands and its content. Views never include
// the shell: what a view reads and commands reaches it through narrow interfaces, and the
// frame knows views only through this class.
// Thread rule: GUI thread.
#include <QColor>
#include <QWidget>
#include <optional>
#include <vector>

#include "base/navigation_ids.h"
#include "ui/command_ids.h"

class CViewHeader;
class QVBoxLayout;

// How a view wants one of its command-bar commands shown.
struct ViewCommandState {
  bool enabled = true;
  std::optional<bool> checked;  // set for the commands that show a check mark
  QColor swatch;                // valid for the colour commands
};

class CVelmoraView : public QWidget {
  Q_OBJECT
 public:
  CVelmoraView(const QString& title, const QString& description, QWidget* parent = nullptr);
  QString Title() const;
  CViewHeader* Header() const { return m_pHeader; }

  // Back to the state without a project (close-project sequence).
  virtual void ResetView() {}
  // The frame has just made this the active view.
  virtual void OnViewShown() {}

  // The command-bar commands this view handles. The frame routes each to the visible view
  // when that view handles it, otherwise to the first view (in creation order) that does,
  // and shows it as CommandState says.
  virtual std::vector<CommandId> Commands() const { return {}; }
  virtual void OnCommand(CommandId /*id*/) {}
  virtual ViewCommandState CommandState(CommandId /*id*/) const { return {}; }

  // What the navigation hands the view it is about to show: the recorded acquisition to
  // work on, and for a chart the data it shows. Views that take neither ignore them.
  virtual void SetAcquisitionId(int /*acquisitionId*/) {}
  virtual void SetMode(ChartMode /*mode*/) {}
  // The acquisition selected in this view (the catalogue); kNoAcquisition elsewhere.
  virtual int SelectedAcquisitionId() const { return kNoAcquisition; }

 signals:
  // Something the command states depend on changed: the frame asks CommandState again.
  void CommandStatesChanged();
  // The view wants a channel of the output pane brought to the front (base/log_sink.h).
  void LogChannelWanted(int channel);

 protected:
  // Where a view puts its content, below the header.
  QVBoxLayout* ContentLayout() const { return m_pContent; }

 private:
  CViewHeader* m_pHeader;
  QVBoxLayout* m_pContent;
};
