#include "ui/view_header.h"

#include <QLabel>
#include <QVBoxLayout>

CViewHeader::CViewHeader(const QString& title, const QString& description, QWidget* parent)
    : QFrame(parent),
      m_pTitle(new QLabel(title, this)),
      m_pDescription(new QLabel(description, this)) {
  setObjectName("ViewHeader");
  setFrameShape(QFrame::NoFrame);
  setAutoFillBackground(true);
  QPalette band = palette();
  band.setColor(QPalette::Window, QColor(233, 240, 250));
  setPalette(band);

  QFont titleFont = m_pTitle->font();
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
  titleFont.setBold(true);
  m_pTitle->setFont(titleFont);
  QPalette titlePalette = m_pTitle->palette();
  titlePalette.setColor(QPalette::WindowText, QColor(0, 51, 153));
  m_pTitle->setPalette(titlePalette);
  m_pDescription->setWordWrap(true);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(12, 5, 12, 5);
  layout->setSpacing(2);
  layout->addWidget(m_pTitle);
  layout->addWidget(m_pDescription);
}

void CViewHeader::SetTitle(const QString& title) {
  m_pTitle->setText(title);
}

void CViewHeader::SetDescription(const QString& description) {
  m_pDescription->setText(description);
}

QString CViewHeader::Title() const {
  return m_pTitle->text();
}

QString CViewHeader::Description() const {
  return m_pDescription->text();
}
