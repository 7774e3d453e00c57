#pragma once
// CBackupSettingsDlg: "Set Backup OPC Data Saving  (csv Format)", the automatic backup
// settings: frequency, type, folder, name root and separator, with the name the next
// automatic backup would get, refreshed as the root is typed. OK refuses an empty root
// and appends ".csv" to a root without it (the view reduces it to a bare name). Below, the
// PostgreSQL URL recorded data is also forwarded to.
// Thread rule: GUI thread.
#include <QDialog>

#include "acquisition/backup_settings.h"

class CSeparatorButtons;
class IClock;
class IUserPrompt;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

inline constexpr char kBackupSettingsTitle[] = "Set Backup OPC Data Saving  (csv Format)";
inline constexpr char kEmptyFileName[] =
    "FileName is Empty !!! Please Enter a Valid File Name to Proceed ...";

class CBackupSettingsDlg : public QDialog {
  Q_OBJECT
 public:
  // initial: the view's settings with the folder and root the dialog opens on.
  CBackupSettingsDlg(const BackupSettings& initial, const IClock& clock, IUserPrompt& prompt,
                     QWidget* parent = nullptr);

  // The settings chosen (valid after OK).
  const BackupSettings& Chosen() const { return m_chosen; }

  QComboBox* FrequencyChoice() const { return m_pFrequency; }
  QComboBox* TypeChoice() const { return m_pType; }
  QLineEdit* PathField() const { return m_pPath; }
  QPushButton* BrowseButton() const { return m_pBrowse; }
  QLineEdit* RootField() const { return m_pRoot; }
  CSeparatorButtons* Separators() const { return m_pSeparators; }
  QLabel* NameSample() const { return m_pSample; }
  // The PostgreSQL URL recorded data is forwarded to (empty: off).
  QLineEdit* ForwardToField() const { return m_pForwardTo; }
  void SetForwardTo(const std::string& url);
  std::string ForwardTo() const;

  void accept() override;

 private:
  void RefreshSample();
  void Browse();

  const IClock& m_clock;
  IUserPrompt& m_prompt;
  BackupSettings m_chosen;
  QComboBox* m_pFrequency;
  QComboBox* m_pType;
  QLineEdit* m_pPath;
  QPushButton* m_pBrowse;
  QLineEdit* m_pRoot;
  CSeparatorButtons* m_pSeparators;
  QLabel* m_pSample;
  QLineEdit* m_pForwardTo;
};
