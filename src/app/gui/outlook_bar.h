#pragma once
// COutlookBar: the navigation pane. Three group headers, each opening the list of its
// entries below it; opening a group and choosing an entry are reported to the frame,
// which applies the navigation rules.
#include <QWidget>
#include <array>

#include "app/navigation.h"

class QListWidget;
class QToolButton;

class COutlookBar : public QWidget {
  Q_OBJECT
 public:
  explicit COutlookBar(QWidget* parent = nullptr);
  // Shows the entries of a group (visual only; the frame decides what it means).
  void ExpandGroup(NavigationGroup group);
  NavigationGroup ExpandedGroup() const { return m_expanded; }
  QToolButton* GroupButton(NavigationGroup group) const;
  QListWidget* EntryList(NavigationGroup group) const;

 signals:
  void groupOpened(NavigationGroup group);
  void entryChosen(NavigationEntry entry);

 private:
  std::array<QToolButton*, kGroupCount> m_headers{};
  std::array<QListWidget*, kGroupCount> m_lists{};
  NavigationGroup m_expanded = NavigationGroup::kOpcExplorer;
};
