#pragma once
// CVelmoraMsgDlg: the modal rich-text report. Window title "Velmora 2.0 " + title, the
// body in the report RTF conventions, a help link for known COM error codes, and one or
// two buttons by button mode. Returns 1 (first button) or 2 (second button, close box).
#include <QDialog>

#include "base/user_prompt.h"

class CRichTextView;
class QFrame;
class QLabel;
class QPushButton;

class CVelmoraMsgDlg : public QDialog {
  Q_OBJECT
 public:
  explicit CVelmoraMsgDlg(const ReportRequest& request, QWidget* parent = nullptr);
  // Runs the dialog modally; 1, 2 or (with a third button) 3.
  int Show();

  CRichTextView* TextBox() const { return m_pText; }
  QPushButton* FirstButton() const { return m_pFirst; }
  QPushButton* SecondButton() const { return m_pSecond; }
  QPushButton* ThirdButton() const { return m_pThird; }
  QLabel* LinkCaption() const { return m_pLinkCaption; }
  QLabel* Link() const { return m_pLink; }
  QFrame* LinkFrame() const { return m_pLinkFrame; }

 public slots:
  void reject() override;  // the close box and Escape answer 2, or 3 with a third button

 private:
  CRichTextView* m_pText;
  QFrame* m_pLinkFrame;
  QLabel* m_pLinkCaption;
  QLabel* m_pLink;
  QPushButton* m_pFirst;
  QPushButton* m_pSecond;
  QPushButton* m_pThird;
};
