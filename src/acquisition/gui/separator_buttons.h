#pragma once
// CSeparatorButtons: the three separator choices of the backup dialogs, "Comma (,)",
// "SemiColon (;)" and "Tab Separator", starting on the semicolon.
// Thread rule: GUI thread.
#include <QGroupBox>

class QRadioButton;

class CSeparatorButtons : public QGroupBox {
  Q_OBJECT
 public:
  explicit CSeparatorButtons(QWidget* parent = nullptr);
  char Separator() const;
  void SetSeparator(char separator);
  // The button of separator (',', ';' or '\t'); null for another character.
  QRadioButton* Button(char separator) const;

 private:
  QRadioButton* m_pButtons[3];
};
