#pragma once
// A read-only rich-text box that shows text written in the program's RTF subset (reports,
// outline pages, the start page). Links open in the web browser.
#include <QTextBrowser>
#include <string>

class CRichTextView : public QTextBrowser {
  Q_OBJECT
 public:
  explicit CRichTextView(QWidget* parent = nullptr);
  // Shows a whole RTF document (header and colour table included).
  void SetRtf(const std::string& rtfDocument);
};
