#include "acquisition/gui/separator_buttons.h"

#include <QHBoxLayout>
#include <QRadioButton>

#include "acquisition/backup_settings.h"

CSeparatorButtons::CSeparatorButtons(QWidget* parent) : QGroupBox("Separator", parent) {
  auto* layout = new QHBoxLayout(this);
  for (int i = 0; i < 3; ++i) {
    m_pButtons[i] = new QRadioButton(kBackupSeparators[i].button, this);
    layout->addWidget(m_pButtons[i]);
  }
  layout->addStretch(1);
  SetSeparator(kDefaultBackupSeparator);
}

char CSeparatorButtons::Separator() const {
  for (int i = 0; i < 3; ++i) {
    if (m_pButtons[i]->isChecked())
      return kBackupSeparators[i].separator;
  }
  return kDefaultBackupSeparator;
}

void CSeparatorButtons::SetSeparator(char separator) {
  if (QRadioButton* button = Button(separator))
    button->setChecked(true);
}

QRadioButton* CSeparatorButtons::Button(char separator) const {
  for (int i = 0; i < 3; ++i) {
    if (kBackupSeparators[i].separator == separator)
      return m_pButtons[i];
  }
  return nullptr;
}
