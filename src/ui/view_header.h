#pragma once
// The band at the top of every view: its title in large type and one explanatory line.
#include <QFrame>

class QLabel;

class CViewHeader : public QFrame {
  Q_OBJECT
 public:
  CViewHeader(const QString& title, const QString& description, QWidget* parent = nullptr);
  void SetTitle(const QString& title);
  void SetDescription(const QString& description);
  QString Title() const;
  QString Description() const;

 private:
  QLabel* m_pTitle;
  QLabel* m_pDescription;
};
