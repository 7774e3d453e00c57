#include "app/gui/splash_screen_dlg.h"

#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QVBoxLayout>

#include "app/gui/app_icon.h"

namespace {

constexpr char kTitleLine[] = "Velmora 2.0 - OPC Data Acquisition and Reporting";

// The splash picture: the program's mark on a blue band.
QPixmap SplashPicture() {
  QPixmap picture(460, 170);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient band(0, 0, 460, 170);
  band.setColorAt(0, QColor(10, 52, 120));
  band.setColorAt(1, QColor(36, 122, 196));
  painter.fillRect(picture.rect(), band);
  painter.drawPixmap(28, 45, VelmoraIcon().pixmap(80, 80));
  painter.setPen(Qt::white);
  QFont big = painter.font();
  big.setPointSize(30);
  big.setBold(true);
  painter.setFont(big);
  painter.drawText(QRect(130, 40, 320, 50), Qt::AlignLeft | Qt::AlignVCenter, "Velmora 2.0");
  QFont small = painter.font();
  small.setPointSize(11);
  small.setBold(false);
  painter.setFont(small);
  painter.drawText(QRect(132, 92, 320, 24), Qt::AlignLeft | Qt::AlignVCenter,
                   "OPC Explorer by Quorix");
  return picture;
}

}  // namespace

CSplashScreenDlg::CSplashScreenDlg(const IClock& clock, QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint),
      m_clock(clock),
      m_pPicture(new QLabel(this)),
      m_pTitle(new QLabel(kTitleLine, this)),
      m_pStatus(new QLabel(this)),
      m_pProgress(new QProgressBar(this)) {
  setModal(false);
  m_pPicture->setPixmap(SplashPicture());
  QFont titleFont = m_pTitle->font();
  titleFont.setBold(true);
  m_pTitle->setFont(titleFont);
  m_pProgress->setRange(0, kSplashProgressMax);
  m_pProgress->setValue(0);
  m_pProgress->setTextVisible(false);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(1, 1, 1, 8);
  layout->addWidget(m_pPicture);
  for (QWidget* line : {static_cast<QWidget*>(m_pTitle), static_cast<QWidget*>(m_pStatus),
                        static_cast<QWidget*>(m_pProgress)}) {
    auto* row = new QHBoxLayout;
    row->setContentsMargins(10, 0, 10, 0);
    row->addWidget(line);
    layout->addLayout(row);
  }
  setStyleSheet("CSplashScreenDlg { border: 1px solid #0a3478; background: white; }");
  connect(&m_timer, &QTimer::timeout, this, &CSplashScreenDlg::OnTimer);
}

void CSplashScreenDlg::Open(std::function<void()> startVersionCheck) {
  m_fnStartVersionCheck = std::move(startVersionCheck);
  m_state.Open(m_clock.SecondsSince1970());
  m_pProgress->setValue(m_state.Steps());
  m_timer.start(kSplashTimerMs);
  show();
}

void CSplashScreenDlg::ShowText(const std::string& text) {
  m_pStatus->setText(QString::fromStdString(text));
}

void CSplashScreenDlg::ShowStep(const std::string& text, bool hideProgress) {
  m_pStatus->setText(QString::fromStdString(text));
  m_pProgress->setValue(m_state.Step());
  if (hideProgress)
    m_pProgress->hide();
}

void CSplashScreenDlg::CloseSplash() {
  m_timer.stop();
  m_state.Close();
  close();
}

QString CSplashScreenDlg::StatusText() const {
  return m_pStatus->text();
}

void CSplashScreenDlg::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    CloseSplash();
    return;
  }
  QDialog::mousePressEvent(event);
}

void CSplashScreenDlg::OnTimer() {
  const CSplashState::TickResult tick = m_state.Tick(m_clock.SecondsSince1970());
  if (tick.startVersionCheck && m_fnStartVersionCheck)
    m_fnStartVersionCheck();
  if (tick.close)
    CloseSplash();
}
