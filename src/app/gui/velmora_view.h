#pragma once
// The common base of the frame's views: a header band with the view's title and a short
// explanation, and the content area below it. The frame switches between views and
// calls the hooks below; each view owns its commands and its content.
#include <QWidget>

class CViewHeader;
class QVBoxLayout;

class CVelmoraView : public QWidget {
  Q_OBJECT
 public:
  CVelmoraView(const QString& title, const QString& description, QWidget* parent = nullptr);
  QString Title() const;
  CViewHeader* Header() const { return m_pHeader; }

  // Back to the state without a project (close-project sequence).
  virtual void ResetView() {}
  // The frame has just made this the active view.
  virtual void OnViewShown() {}

 protected:
  // Where a view puts its content, below the header.
  QVBoxLayout* ContentLayout() const { return m_pContent; }

 private:
  CViewHeader* m_pHeader;
  QVBoxLayout* m_pContent;
};
