#include "app/gui/about_dlg.h"

#include <curl/curl.h>
#include <sqlite3.h>
#include <zlib.h>

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "app/gui/app_icon.h"
#include "app/web_pages.h"
#include "base/report.h"

namespace {

constexpr char kAboutPrefix[] = "About ";
constexpr char kPurpose[] = "OPC Data Acquisition and Reporting";
constexpr char kDescription[] =
    "An OPC explorer for OPC DA 1.0a and 2.0 servers: find and browse servers, acquire and "
    "record their values, chart, review and export every recorded acquisition.";
constexpr char kMaker[] = "Made by Quorix.";
constexpr char kMakerLinkText[] = "www.quorix.example";
constexpr int kIconSize = 64;

QString CreditsText() {
  const curl_version_info_data* curl = curl_version_info(CURLVERSION_NOW);
  return QString(
             "<b>Credits</b><br>"
             "Qt %1 &ndash; the windows, dialogs and drawing<br>"
             "SQLite %2 &ndash; the Velmora.sq3 database<br>"
             "zlib %3 &ndash; the compressed value rows (Jean-loup Gailly and Mark Adler)<br>"
             "libcurl %4 &ndash; the version check (Daniel Stenberg and contributors)")
      .arg(QString::fromLatin1(qVersion()), QString::fromLatin1(sqlite3_libversion()),
           QString::fromLatin1(zlibVersion()),
           QString::fromLatin1(curl != nullptr ? curl->version : LIBCURL_VERSION));
}

}  // namespace

CAboutDlg::CAboutDlg(std::function<void(const QString&)> openUrl, QWidget* parent)
    : QDialog(parent), m_pCredits(new QLabel(CreditsText(), this)), m_pLink(new QLabel(this)) {
  setObjectName("AboutDlg");
  setWindowTitle(QString(kAboutPrefix) + kProductName);
  auto* icon = new QLabel(this);
  icon->setPixmap(VelmoraIcon().pixmap(kIconSize, kIconSize));
  auto* name = new QLabel(QString("<span style=\"font-size:16pt; font-weight:bold\">%1</span>"
                                  "<br>%2")
                              .arg(kProductName, kPurpose),
                          this);
  auto* description = new QLabel(kDescription, this);
  description->setWordWrap(true);
  m_pCredits->setTextFormat(Qt::RichText);
  m_pCredits->setWordWrap(true);
  m_pLink->setText(
      QString("%1 <a href=\"%2\">%3</a>").arg(kMaker, kQuorixWebSiteUrl, kMakerLinkText));
  m_pLink->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  connect(m_pLink, &QLabel::linkActivated, this, [openUrl](const QString& url) {
    if (openUrl)
      openUrl(url);
  });
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* top = new QHBoxLayout;
  top->addWidget(icon, 0, Qt::AlignTop);
  top->addWidget(name, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(description);
  layout->addWidget(m_pCredits);
  layout->addWidget(m_pLink);
  layout->addWidget(buttons);
  setMinimumWidth(460);
}
