#include "app/gui/velmora_view.h"

#include <QVBoxLayout>

#include "ui/view_header.h"

CVelmoraView::CVelmoraView(const QString& title, const QString& description, QWidget* parent)
    : QWidget(parent), m_pHeader(new CViewHeader(title, description, this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(m_pHeader);
  m_pContent = new QVBoxLayout;
  m_pContent->setContentsMargins(8, 8, 8, 8);
  m_pContent->setSpacing(6);
  layout->addLayout(m_pContent, 1);
}

QString CVelmoraView::Title() const {
  return m_pHeader->Title();
}
