#pragma once
// CExportDataDlg: "Export OPC Data (csv format)", the folder, file name and separator of
// a backup asked for while no automatic backup is set. The name sample shows the name the
// file is written under while one is entered.
// Thread rule: GUI thread.
#include <QDialog>
#include <string>

class CSeparatorButtons;
class IUserPrompt;
class QLabel;
class QLineEdit;
class QPushButton;

inline constexpr char kExportDataTitle[] = "Export OPC Data (csv format)";

class CExportDataDlg : public QDialog {
  Q_OBJECT
 public:
  CExportDataDlg(const std::string& folder, IUserPrompt& prompt, QWidget* parent = nullptr);

  // Valid after OK.
  const std::string& Folder() const { return m_sFolder; }
  const std::string& FileName() const { return m_sFileName; }
  char Separator() const { return m_cSeparator; }

  QLineEdit* PathField() const { return m_pPath; }
  QPushButton* BrowseButton() const { return m_pBrowse; }
  QLineEdit* NameField() const { return m_pName; }
  CSeparatorButtons* Separators() const { return m_pSeparators; }
  QLabel* NameSample() const { return m_pSample; }

  void accept() override;

 private:
  void RefreshSample();

  IUserPrompt& m_prompt;
  std::string m_sFolder;
  std::string m_sFileName;
  char m_cSeparator = ';';
  QLineEdit* m_pPath;
  QPushButton* m_pBrowse;
  QLineEdit* m_pName;
  CSeparatorButtons* m_pSeparators;
  QLabel* m_pSample;
};
