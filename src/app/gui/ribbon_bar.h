#pragma once
// CRibbonBar: the command bar, one tab per category and one framed panel per group of
// commands. Each command is a QAction, disabled until its handler enables it.
#include <QTabWidget>
#include <array>

#include "app/gui/ribbon_commands.h"

class QAction;

class CRibbonBar : public QTabWidget {
  Q_OBJECT
 public:
  explicit CRibbonBar(QWidget* parent = nullptr);
  QAction* Command(CommandId id) const { return m_actions[static_cast<size_t>(id)]; }
  QList<QAction*> Actions() const;
  // Tab index of a category by its name ("Home", "View"...), -1 when unknown.
  int CategoryIndex(const QString& title) const;
  // Shows a colour command's colour on its button.
  void SetSwatch(CommandId id, const QColor& colour);

 private:
  QWidget* BuildPanel(const RibbonPanelSpec& panel, QWidget* parent);
  QAction* BuildAction(const RibbonCommandDef& entry);

  std::array<QAction*, kCommandCount> m_actions{};
};
