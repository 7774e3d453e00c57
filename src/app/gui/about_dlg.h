#pragma once
// CAboutDlg: "About Velmora 2.0", the program's name and purpose, its maker, and the
// credits for the libraries it is built on (with the versions it runs with).
// Thread rule: GUI thread.
#include <QDialog>
#include <functional>

class QLabel;

class CAboutDlg : public QDialog {
  Q_OBJECT
 public:
  // openUrl opens the maker's site when its link is clicked.
  explicit CAboutDlg(std::function<void(const QString&)> openUrl, QWidget* parent = nullptr);
  QLabel* Credits() const { return m_pCredits; }
  QLabel* Link() const { return m_pLink; }

 private:
  QLabel* m_pCredits;
  QLabel* m_pLink;
};
