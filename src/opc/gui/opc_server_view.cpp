#include "opc/gui/opc_server_view.h"

#include <QLabel>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
constexpr char kTitle[] = "OPC Explorer Setup";
constexpr char kDescription[] =
    "Find an OPC server on this computer or on the network, connect to it, and define its "
    "groups, acquired items and calculated items.";
constexpr char kNoServer[] = "No OPC server connected.";
}  // namespace

COPCServerView::COPCServerView(QWidget* parent)
    : CVelmoraView(kTitle, kDescription, parent),
      m_pServerLine(new QLabel(kNoServer, this)),
      m_pTree(new QTreeWidget(this)),
      m_pProperties(new QTreeWidget(this)) {
  m_pTree->setHeaderLabels({"OPC Server Configuration"});
  m_pProperties->setHeaderLabels({"Property", "Value"});
  m_pProperties->setRootIsDecorated(false);
  auto* splitter = new QSplitter(Qt::Horizontal, this);
  splitter->addWidget(m_pTree);
  splitter->addWidget(m_pProperties);
  splitter->setStretchFactor(0, 3);
  splitter->setStretchFactor(1, 2);
  ContentLayout()->addWidget(m_pServerLine);
  ContentLayout()->addWidget(splitter, 1);
}

void COPCServerView::ResetView() {
  ClearServerDisplay();
}

void COPCServerView::ClearServerDisplay() {
  m_pTree->clear();
  m_pProperties->clear();
  m_pServerLine->setText(kNoServer);
}
