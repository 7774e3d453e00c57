#pragma once
// COPCServerView: the OPC configuration view ("OPC Explorer Setup"). It will show the
// connected server with its groups and items as a tree, and the properties of the
// selected node; the server and configuration commands fill it.
#include "app/gui/velmora_view.h"

class QLabel;
class QTreeWidget;

class COPCServerView : public CVelmoraView {
  Q_OBJECT
 public:
  explicit COPCServerView(QWidget* parent = nullptr);
  // Close-project sequence: back to "no server".
  void ResetView() override;
  // "Close Project": the server, group and item display is emptied.
  void ClearServerDisplay();

  QTreeWidget* ConfigurationTree() const { return m_pTree; }
  QTreeWidget* PropertyList() const { return m_pProperties; }

 private:
  QLabel* m_pServerLine;
  QTreeWidget* m_pTree;
  QTreeWidget* m_pProperties;
};
