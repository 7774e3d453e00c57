#include "app/gui/velmora_start_view.h"

#include <QVBoxLayout>

#include "app/gui/outline_texts.h"
#include "ui/rich_text_view.h"

namespace {
constexpr char kTitle[] = "Start Page";
constexpr char kDescription[] =
    "OPC Data Acquisition and Reporting: explore OPC servers, acquire and record their data, "
    "and review every recorded acquisition.";
}  // namespace

CVelmoraStartView::CVelmoraStartView(QWidget* parent)
    : CVelmoraView(kTitle, kDescription, parent), m_pPage(new CRichTextView(this)) {
  m_pPage->SetRtf(OutlineDocument(OutlinePage::kStart));
  m_pPage->setFrameShape(QFrame::NoFrame);
  ContentLayout()->addWidget(m_pPage, 1);
}
