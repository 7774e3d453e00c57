#pragma once
// CVelmoraStartView: the view shown first, with the program's feature list.
#include "ui/velmora_view.h"

class CRichTextView;

class CVelmoraStartView : public CVelmoraView {
  Q_OBJECT
 public:
  explicit CVelmoraStartView(QWidget* parent = nullptr);
  CRichTextView* Page() const { return m_pPage; }

 private:
  CRichTextView* m_pPage;
};
