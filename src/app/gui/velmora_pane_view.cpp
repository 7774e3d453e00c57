#include "app/gui/velmora_pane_view.h"

#include <QVBoxLayout>

#include "ui/rich_text_view.h"

namespace {

struct PaneTexts {
  const char* title;
  const char* description;
};

PaneTexts TextsOf(OutlinePage page) {
  switch (page) {
    case OutlinePage::kOpcExplorer:
      return {"Velmora OPC Explorer",
              "Set up an OPC server, acquire and store its data, and chart it live."};
    case OutlinePage::kProjects:
      return {"Projects Explorer",
              "Review the acquisitions recorded in the Velmora database: their data, exports "
              "and charts."};
    case OutlinePage::kDcom:
      return {"DCOM Explorer", "The DCOM settings that remote OPC servers depend on."};
    case OutlinePage::kStart:
      break;
  }
  return {"Velmora 2.0", ""};
}

}  // namespace

CVelmoraPaneView::CVelmoraPaneView(OutlinePage page, QWidget* parent)
    : CVelmoraView(TextsOf(page).title, TextsOf(page).description, parent),
      m_page(page),
      m_pOutline(new CRichTextView(this)) {
  m_pOutline->SetRtf(OutlineDocument(page));
  m_pOutline->setFrameShape(QFrame::NoFrame);
  ContentLayout()->addWidget(m_pOutline, 1);
}
