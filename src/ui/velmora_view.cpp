#include "ui/velmora_view.h"

#include <QScrollArea>
#include <QVBoxLayout>

#include "ui/view_header.h"

CVelmoraView::CVelmoraView(const QString& title, const QString& description, QWidget* parent)
    : QWidget(parent), m_pHeader(new CViewHeader(title, description, this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(m_pHeader);
  // The content scrolls when the window is smaller than it needs, so no view makes the
  // window larger than a small screen.
  auto* scroller = new QScrollArea(this);
  scroller->setObjectName("ViewContent");
  scroller->setFrameShape(QFrame::NoFrame);
  scroller->setWidgetResizable(true);
  auto* content = new QWidget(scroller);
  m_pContent = new QVBoxLayout(content);
  m_pContent->setContentsMargins(8, 8, 8, 8);
  m_pContent->setSpacing(6);
  scroller->setWidget(content);
  layout->addWidget(scroller, 1);
}

QString CVelmoraView::Title() const {
  return m_pHeader->Title();
}
