#include "app/gui/velmora_msg_dlg.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "base/report.h"
#include "base/report_cancel.h"
#include "ui/rich_text_view.h"

namespace {
constexpr char kUnknownUrl[] = "Unknown URL";
constexpr char kLinkCaption[] = "Help on this error:";
constexpr int kFirstButtonResult = 1;
constexpr int kSecondButtonResult = 2;
constexpr int kThirdButtonResult = 3;
}  // namespace

CVelmoraMsgDlg::CVelmoraMsgDlg(const ReportRequest& request, QWidget* parent)
    : QDialog(parent),
      m_pText(new CRichTextView(this)),
      m_pLinkFrame(new QFrame(this)),
      m_pLinkCaption(new QLabel(kLinkCaption, m_pLinkFrame)),
      m_pLink(new QLabel(m_pLinkFrame)),
      m_pFirst(new QPushButton(this)),
      m_pSecond(new QPushButton(this)),
      m_pThird(new QPushButton(this)) {
  setWindowTitle(QString::fromStdString(ReportWindowTitle(request.title)));
  setModal(true);
  resize(540, 330);

  // 1-2: the body, wrapped at the box's width.
  m_pText->setLineWrapMode(QTextEdit::WidgetWidth);
  m_pText->SetRtf(ReportDocument(request.body));

  // 3: the help link of the error code, when there is one.
  m_pLinkFrame->setFrameShape(QFrame::StyledPanel);
  auto* linkLayout = new QHBoxLayout(m_pLinkFrame);
  linkLayout->setContentsMargins(8, 4, 8, 4);
  linkLayout->addWidget(m_pLinkCaption);
  linkLayout->addWidget(m_pLink, 1);
  m_pLink->setOpenExternalLinks(true);
  m_pLink->setTextInteractionFlags(Qt::TextBrowserInteraction);
  const std::string url = ReportHelpUrl(request.errorCode);
  const bool showLink = !(request.linkText.empty() && request.errorCode == 0) && url != kUnknownUrl;
  if (showLink) {
    const QString address = QString::fromStdString(url).toHtmlEscaped();
    m_pLink->setText(QString("<a href=\"%1\">%1</a>").arg(address));
  }
  m_pLinkFrame->setVisible(showLink);

  // 4: the buttons of the mode.
  const ReportButtons buttons = ReportButtonsForMode(request.buttonMode);
  m_pFirst->setText(QString::fromStdString(buttons.first));
  m_pFirst->setDefault(true);
  m_pSecond->setText(QString::fromStdString(buttons.second));
  m_pSecond->setVisible(!buttons.second.empty());
  m_pThird->setText(kReportThirdButtonText);
  m_pThird->setVisible(request.buttonMode == kReportYesNoCancel);
  connect(m_pFirst, &QPushButton::clicked, this, [this] { done(kFirstButtonResult); });
  connect(m_pSecond, &QPushButton::clicked, this, [this] { done(kSecondButtonResult); });
  connect(m_pThird, &QPushButton::clicked, this, [this] { done(kThirdButtonResult); });

  auto* icon = new QLabel(this);
  const QStyle::StandardPixmap pixmap = request.buttonMode == kReportOkCancel ||
                                                request.buttonMode == kReportYesNo ||
                                                request.buttonMode == kReportYesNoCancel
                                            ? QStyle::SP_MessageBoxQuestion
                                            : QStyle::SP_MessageBoxInformation;
  icon->setPixmap(style()->standardIcon(pixmap).pixmap(40, 40));
  icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

  auto* body = new QHBoxLayout;
  body->addWidget(icon);
  body->addWidget(m_pText, 1);
  auto* buttonRow = new QHBoxLayout;
  buttonRow->addStretch(1);
  buttonRow->addWidget(m_pFirst);
  buttonRow->addWidget(m_pSecond);
  buttonRow->addWidget(m_pThird);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body, 1);
  layout->addWidget(m_pLinkFrame);
  layout->addLayout(buttonRow);
  m_pFirst->setFocus();
}

int CVelmoraMsgDlg::Show() {
  const int result = exec();
  if (result == kThirdButtonResult && m_pThird->isVisibleTo(this))
    return kThirdButtonResult;
  return result == kFirstButtonResult ? kFirstButtonResult : kSecondButtonResult;
}

void CVelmoraMsgDlg::reject() {
  done(m_pThird->isVisibleTo(this) ? kThirdButtonResult : kSecondButtonResult);
}
