#pragma once
// What a user does in the command bar, for tests: click a category's tab, then a command's
// button (by its texts or by its command); and act on the modal dialog the click opens.
#include <QApplication>
#include <QDialog>
#include <QScopeGuard>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>

#include "app/gui/main_frame.h"
#include "app/gui/ribbon_bar.h"

// Clicks the category's tab and returns the command's button there (null when missing).
inline QToolButton* ShowRibbonButton(CRibbonBar* ribbon, const QString& category,
                                     const QString& command) {
  const int index = ribbon->CategoryIndex(category);
  if (index < 0)
    return nullptr;
  QTabBar* tabs = ribbon->tabBar();
  QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(index).center());
  for (QToolButton* button : ribbon->widget(index)->findChildren<QToolButton*>()) {
    if (QString(button->text()).replace('\n', ' ').trimmed() == command)
      return button;
  }
  return nullptr;
}

// Clicks a command as a user does; false when its button is missing, hidden or greyed.
inline bool ClickRibbon(CRibbonBar* ribbon, const QString& category, const QString& command) {
  QToolButton* button = ShowRibbonButton(ribbon, category, command);
  if (button == nullptr || !button->isVisible() || !button->isEnabled())
    return false;
  QTest::mouseClick(button, Qt::LeftButton);
  return true;
}

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

// Runs action on the modal dialog of type T that opens next; the dialog is closed
// afterwards (rejected if the action left it open), so a failed check never leaves a test
// waiting in a modal loop. found tells whether the dialog came.
template <class T>
void OnNextModal(std::function<void(T&)> action, bool* found = nullptr) {
  QTimer::singleShot(0, [action, found] {
    QWidget* modal = QApplication::activeModalWidget();
    auto close = qScopeGuard([modal] {
      if (auto* dialog = qobject_cast<QDialog*>(modal); dialog != nullptr && dialog->isVisible())
        dialog->reject();
    });
    auto* dialog = qobject_cast<T*>(modal);
    if (found != nullptr)
      *found = dialog != nullptr;
    if (dialog != nullptr)
      action(*dialog);
  });
}
