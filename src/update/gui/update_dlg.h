#pragma once
// CUpdateDlg: the result of a version check: the running and the published version, what
// that means, the publisher's text, a link to the download page, and the choice of no
// automatic check in the future. Thread rule: GUI thread.
#include <QDialog>

#include "update/update_check.h"

class QCheckBox;
class QCommandLinkButton;
class QLabel;
class QPushButton;

inline constexpr char kUpdateDialogTitle[] = "Velmora OPC Explorer Update";
inline constexpr char kLatestVersionMessage[] =
    "You are using the latest version of Velmora OPC Explorer";
inline constexpr char kNewVersionMessage[] =
    "A new Version is Available from Internet. Please Click on the Link to Get More "
    "Informations and Download the Latest release of Velmora OPC Explorer";
inline constexpr char kNoUpdateCheckChoice[] = "Do Not Check for Update in the Future";

class CUpdateDlg : public QDialog {
  Q_OBJECT
 public:
  CUpdateDlg(const CUpdateCheck& check, bool noUpdateCheck, QWidget* parent = nullptr);

  bool DoNotCheck() const;
  QLabel* LocalVersion() const { return m_pLocal; }
  QLabel* LatestVersion() const { return m_pLatest; }
  QLabel* Message() const { return m_pMessage; }
  QLabel* RemoteText() const { return m_pRemoteText; }
  QCommandLinkButton* DownloadLink() const { return m_pLink; }
  QCheckBox* NoCheckBox() const { return m_pNoCheck; }
  QPushButton* OkButton() const { return m_pOk; }

 private:
  QLabel* m_pLocal;
  QLabel* m_pLatest;
  QLabel* m_pMessage;
  QLabel* m_pRemoteText;
  QCommandLinkButton* m_pLink;
  QCheckBox* m_pNoCheck;
  QPushButton* m_pOk;
};

// The message line for a check's result: blank when the published version is unknown.
const char* UpdateMessage(const CUpdateCheck& check);
