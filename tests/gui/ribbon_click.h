#pragma once
// Reaching a command the way a user does: its button on the command bar, shown on its
// tab and clicked with the mouse.
#include <QTest>
#include <QToolButton>

#include "app/gui/main_frame.h"
#include "app/gui/ribbon_bar.h"

// The command bar's button of the command (its tab made current); null when none shows it.
inline QToolButton* RibbonButton(CMainFrame& frame, CommandId id) {
  const QAction* action = frame.Command(id);
  CRibbonBar* bar = frame.Ribbon();
  if (action == nullptr || bar == nullptr)
    return nullptr;
  const QString text = action->text().simplified();
  for (int tab = 0; tab < bar->count(); ++tab) {
    for (QToolButton* button : bar->widget(tab)->findChildren<QToolButton*>()) {
      if (button->text().simplified() == text) {
        bar->setCurrentIndex(tab);
        return button;
      }
    }
  }
  return nullptr;
}

// Clicks the command's button; false when it is missing, hidden or disabled.
inline bool ClickRibbon(CMainFrame& frame, CommandId id) {
  frame.UpdateCommandStates();
  QToolButton* button = RibbonButton(frame, id);
  if (button == nullptr || !button->isVisible() || !button->isEnabled())
    return false;
  QTest::mouseClick(button, Qt::LeftButton);
  return true;
}
