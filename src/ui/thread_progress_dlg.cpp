#include "ui/thread_progress_dlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/busy_spinner.h"

namespace {
constexpr char kCloseText[] = "Close";
}

CThreadProgressDlg::CThreadProgressDlg(int kind, const QString& caption, int minimum, int maximum,
                                       const QString& text, QWidget* parent)
    : QDialog(parent),
      m_nKind(kind),
      m_pSpinner(new CBusySpinner(this)),
      m_pText(new QLabel(text, this)),
      m_pBar(new QProgressBar(this)),
      m_pClose(new QPushButton(QString::fromLatin1(kCloseText), this)) {
  setObjectName("ThreadProgressDlg");
  setWindowTitle(caption);
  setModal(false);
  setMinimumWidth(420);

  m_pBar->setRange(minimum, maximum);
  m_pBar->setValue(minimum);
  m_pClose->setVisible(false);
  m_pClose->setAutoDefault(false);
  connect(m_pClose, &QPushButton::clicked, this, &QWidget::close);

  m_closeTimer.setSingleShot(true);
  m_closeTimer.setInterval(kCloseDelayMs);
  connect(&m_closeTimer, &QTimer::timeout, this, &QWidget::close);

  auto* progress = new QVBoxLayout;
  progress->addWidget(m_pText);
  progress->addWidget(m_pBar);
  auto* top = new QHBoxLayout;
  top->addWidget(m_pSpinner, 0, Qt::AlignTop);
  top->addLayout(progress, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(m_pClose);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(buttons);

  m_pSpinner->Start();
}

CThreadProgressDlg::~CThreadProgressDlg() {
  HoldWaitCursor(false);
}

void CThreadProgressDlg::SetProgress(int position, const QString& text) {
  m_pBar->setValue(position);
  m_pText->setText(text);
}

void CThreadProgressDlg::Finish(const QString& finalText) {
  m_bFinished = true;
  m_pText->setText(finalText);
  m_pClose->setVisible(true);
  m_pSpinner->Stop();
  m_closeTimer.start();
}

QString CThreadProgressDlg::Text() const {
  return m_pText->text();
}

bool CThreadProgressDlg::IsAnimating() const {
  return m_pSpinner->IsSpinning();
}

void CThreadProgressDlg::showEvent(QShowEvent* event) {
  HoldWaitCursor(true);
  QDialog::showEvent(event);
}

void CThreadProgressDlg::hideEvent(QHideEvent* event) {
  HoldWaitCursor(false);
  QDialog::hideEvent(event);
}

void CThreadProgressDlg::closeEvent(QCloseEvent* event) {
  // Not QDialog::closeEvent: it would route through reject(), which is ours below.
  if (!m_bFinished) {
    event->ignore();
    return;
  }
  event->accept();
  m_closeTimer.stop();
  if (!m_bClosedSent) {
    m_bClosedSent = true;
    emit closed(m_nKind);
  }
}

void CThreadProgressDlg::reject() {
  // Escape: the same rule as the window's close button.
  close();
}

void CThreadProgressDlg::HoldWaitCursor(bool hold) {
  // One override per dialog, so the application's cursor stack stays balanced.
  if (hold == m_bCursorHeld) {
    return;
  }
  m_bCursorHeld = hold;
  if (hold) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}
