#pragma once
// CVelmoraPaneView: the outline of one navigation group, a fixed rich-text list of the
// features its entries lead to.
#include "app/gui/outline_texts.h"
#include "ui/velmora_view.h"

class CRichTextView;

class CVelmoraPaneView : public CVelmoraView {
  Q_OBJECT
 public:
  explicit CVelmoraPaneView(OutlinePage page, QWidget* parent = nullptr);
  OutlinePage Page() const { return m_page; }
  CRichTextView* Outline() const { return m_pOutline; }

 private:
  OutlinePage m_page;
  CRichTextView* m_pOutline;
};
