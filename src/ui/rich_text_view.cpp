#include "ui/rich_text_view.h"

#include "base/rtf.h"

CRichTextView::CRichTextView(QWidget* parent) : QTextBrowser(parent) {
  setReadOnly(true);
  setOpenExternalLinks(true);
  setLineWrapMode(QTextEdit::WidgetWidth);
  setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard |
                          Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
}

void CRichTextView::SetRtf(const std::string& rtfDocument) {
  setHtml(QString::fromStdString(RtfToHtml(rtfDocument)));
}
