#pragma once
// CGroupDlg: "OPC Group Addition" (and the same dialog for a modification): the group's
// name, update rate, time bias, dead band, read interface and active state, with the
// server it goes to and the groups it already has. The name is checked after every change
// and a device read is confirmed. Thread rule: GUI thread.
#include <QDialog>
#include <string>

#include "opc/group_commands.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

inline constexpr char kGroupAdditionTitle[] = "OPC Group Addition";
inline constexpr char kGroupModificationTitle[] = "OPC Group Modification";

class CGroupDlg : public QDialog {
  Q_OBJECT

 public:
  // editedGroup: null to add a group, else the group to modify. The dialog edits a copy of
  // its settings and keeps its name, never the group itself.
  CGroupDlg(COPCServer& server, IUserPrompt& prompt, const COPCGroup* editedGroup,
            QWidget* parent = nullptr);

  const OPCGroupSettings& Values() const { return m_values; }

  QLineEdit* NameField() const { return m_pName; }
  QComboBox* UpdateRateChoice() const { return m_pRate; }
  QComboBox* ReadInterfaceChoice() const { return m_pInterface; }
  QCheckBox* ActiveBox() const { return m_pActive; }
  QLabel* NameMessage() const { return m_pMessage; }
  QPushButton* OkButton() const { return m_pOk; }

  void accept() override;

 private:
  void OnNameEdited();
  void OnInterfaceChosen(int index);
  void TakeFields();
  // The group being modified, if it is still there; null in addition mode.
  const COPCGroup* EditedGroup() const;

  COPCServer& m_server;
  IUserPrompt& m_prompt;
  bool m_bModification;
  std::string m_sEditedName;
  OPCGroupSettings m_values;
  int m_nInterfaceShown = 0;
  QLineEdit* m_pName;
  QComboBox* m_pRate;
  QSpinBox* m_pBias;
  QDoubleSpinBox* m_pDeadBand;
  QComboBox* m_pInterface;
  QCheckBox* m_pActive;
  QLabel* m_pMessage;
  QPushButton* m_pOk;
};
