#include "acquisition/gui/data_view_controls.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "acquisition/acquisition_engine.h"

namespace {

constexpr char kServerBoxTitle[] = "OPC Server";
constexpr char kServerIdLabel[] = "Server Id: ";
constexpr char kHostLabel[] = "OPC Server Host: ";
constexpr char kConnectionLabel[] = "Connection Status: ";
constexpr char kServerStatusLabel[] = "Server Status: ";

constexpr char kModeBoxTitle[] = "Data Acquisition Mode";
constexpr char kContinuous[] = "Continuous Data Acquisition";
constexpr char kTimeControlled[] = "Time-Controled Data Acquisition";
constexpr char kStartAt[] = "Start Data Acquisition At: ";
constexpr char kEndAt[] = "End Data Acquisition At: ";
constexpr char kDateFormat[] = "dd/MM/yyyy";
constexpr char kTimeFormat[] = "HH:mm:ss";

constexpr char kStatusBoxTitle[] = "Data Acquisition";
constexpr char kTimeLabel[] = "Data Acquisition Time: ";
constexpr char kTimeValue[] = "%1 msec";
constexpr char kCountLabel[] = "Number of Acquired Data: ";
constexpr char kNextLabel[] = "Next Acquisition ";
constexpr char kDecimalsLabel[] = "Number of Decimals (Analog Values): ";
constexpr int kMaxDecimals = 5;
constexpr int kDefaultDecimals = 2;

QLabel* ValueLabel(QWidget* parent) {
  auto* label = new QLabel(parent);
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  // A long server name or host must not widen the window; the panel shows what fits.
  label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  // The longest connection status is always shown whole.
  label->setMinimumWidth(
      label->fontMetrics().horizontalAdvance(QStringLiteral("Reconnecting ...")) + 4);
  return label;
}

// A field that keeps its place when hidden, so the panel does not jump.
void KeepPlaceWhenHidden(QWidget* widget) {
  QSizePolicy policy = widget->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  widget->setSizePolicy(policy);
}

}  // namespace

// ---- Server attributes ----

CServerAttributesBox::CServerAttributesBox(QWidget* parent)
    : QGroupBox(kServerBoxTitle, parent),
      m_pServerId(ValueLabel(this)),
      m_pHost(ValueLabel(this)),
      m_pConnection(ValueLabel(this)),
      m_pStatus(ValueLabel(this)) {
  auto* form = new QFormLayout(this);
  form->setLabelAlignment(Qt::AlignLeft);
  form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  form->addRow(kServerIdLabel, m_pServerId);
  form->addRow(kHostLabel, m_pHost);
  form->addRow(kConnectionLabel, m_pConnection);
  form->addRow(kServerStatusLabel, m_pStatus);
}

void CServerAttributesBox::Show(const ServerAttributes& attributes) {
  m_pServerId->setText(QString::fromStdString(attributes.serverId));
  m_pHost->setText(QString::fromStdString(attributes.host));
  m_pServerId->setToolTip(m_pServerId->text());
  m_pHost->setToolTip(m_pHost->text());
  m_pConnection->setText(QString::fromStdString(attributes.connectionStatus));
  m_pStatus->setText(QString::fromStdString(attributes.serverStatus));
}

// ---- Mode and window ----

CAcquisitionModeBox::CAcquisitionModeBox(QWidget* parent)
    : QGroupBox(kModeBoxTitle, parent),
      m_pButtons(new QButtonGroup(this)),
      m_pContinuous(new QRadioButton(kContinuous, this)),
      m_pTimeControlled(new QRadioButton(kTimeControlled, this)),
      m_pStartDate(new QDateEdit(this)),
      m_pStartTime(new QTimeEdit(this)),
      m_pEndDate(new QDateEdit(this)),
      m_pEndTime(new QTimeEdit(this)) {
  m_pButtons->setExclusive(true);
  m_pButtons->addButton(m_pContinuous, kContinuousAcquisition);
  m_pButtons->addButton(m_pTimeControlled, kTimeControlledAcquisition);
  m_pContinuous->setChecked(true);
  // Wide enough for the whole date and time beside the drop-down and spin buttons.
  const int digitWidth = fontMetrics().horizontalAdvance(QLatin1Char('0'));
  for (QDateEdit* date : {m_pStartDate, m_pEndDate}) {
    date->setDisplayFormat(kDateFormat);
    date->setCalendarPopup(true);
    date->setMinimumWidth(digitWidth * 14);
  }
  for (QTimeEdit* time : {m_pStartTime, m_pEndTime}) {
    time->setDisplayFormat(kTimeFormat);
    time->setMinimumWidth(digitWidth * 12);
  }

  auto* layout = new QGridLayout(this);
  // Both choices on one line: the panel row stays low and leaves room for the tables.
  layout->addWidget(m_pContinuous, 0, 0, 1, 2);
  layout->addWidget(m_pTimeControlled, 0, 2, 1, 2);
  auto* startLabel = new QLabel(kStartAt, this);
  auto* endLabel = new QLabel(kEndAt, this);
  startLabel->setBuddy(m_pStartDate);
  endLabel->setBuddy(m_pEndDate);
  layout->addWidget(startLabel, 1, 0);
  layout->addWidget(m_pStartDate, 1, 1, 1, 2);
  layout->addWidget(m_pStartTime, 1, 3);
  layout->addWidget(endLabel, 2, 0);
  layout->addWidget(m_pEndDate, 2, 1, 1, 2);
  layout->addWidget(m_pEndTime, 2, 3);
  layout->setColumnStretch(3, 1);
  layout->setRowStretch(4, 1);

  setTabOrder(m_pContinuous, m_pTimeControlled);
  setTabOrder(m_pTimeControlled, m_pStartDate);
  setTabOrder(m_pStartDate, m_pStartTime);
  setTabOrder(m_pStartTime, m_pEndDate);
  setTabOrder(m_pEndDate, m_pEndTime);

  connect(m_pButtons, &QButtonGroup::idClicked, this, [this](int mode) {
    EnablePickers();
    emit ModeChosen(mode);
  });
  EnablePickers();
}

void CAcquisitionModeBox::SetMode(int mode) {
  (mode == kTimeControlledAcquisition ? m_pTimeControlled : m_pContinuous)->setChecked(true);
  EnablePickers();
}

int CAcquisitionModeBox::Mode() const {
  return m_pTimeControlled->isChecked() ? kTimeControlledAcquisition : kContinuousAcquisition;
}

void CAcquisitionModeBox::SetModeButtonsEnabled(bool enabled) {
  m_pContinuous->setEnabled(enabled);
  m_pTimeControlled->setEnabled(enabled);
}

void CAcquisitionModeBox::EnablePickers() {
  const bool timeControlled = Mode() == kTimeControlledAcquisition;
  for (QWidget* picker : {static_cast<QWidget*>(m_pStartDate), static_cast<QWidget*>(m_pStartTime),
                          static_cast<QWidget*>(m_pEndDate), static_cast<QWidget*>(m_pEndTime)}) {
    picker->setEnabled(timeControlled);
  }
}

QDateTime CAcquisitionModeBox::WindowStart() const {
  return QDateTime(m_pStartDate->date(), m_pStartTime->time());
}

QDateTime CAcquisitionModeBox::WindowEnd() const {
  return QDateTime(m_pEndDate->date(), m_pEndTime->time());
}

void CAcquisitionModeBox::SetWindowStart(const QDateTime& start) {
  m_pStartDate->setDate(start.date());
  m_pStartTime->setTime(start.time());
}

void CAcquisitionModeBox::SetWindowEnd(const QDateTime& end) {
  m_pEndDate->setDate(end.date());
  m_pEndTime->setTime(end.time());
}

// ---- Status ----

CAcquisitionStatusBox::CAcquisitionStatusBox(QWidget* parent)
    : QGroupBox(kStatusBoxTitle, parent),
      m_pTimeLabel(new QLabel(kTimeLabel, this)),
      m_pTime(ValueLabel(this)),
      m_pCount(ValueLabel(this)),
      m_pNextLabel(new QLabel(kNextLabel, this)),
      m_pNext(ValueLabel(this)),
      m_pDecimals(new QComboBox(this)) {
  for (int decimals = 0; decimals <= kMaxDecimals; ++decimals)
    m_pDecimals->addItem(QString::number(decimals));
  m_pDecimals->setCurrentIndex(kDefaultDecimals);
  m_pDecimals->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  for (QWidget* field : {static_cast<QWidget*>(m_pTimeLabel), static_cast<QWidget*>(m_pTime),
                         static_cast<QWidget*>(m_pNextLabel), static_cast<QWidget*>(m_pNext)}) {
    KeepPlaceWhenHidden(field);
  }
  // The widest texts the fields show, so the panel keeps its width.
  m_pNext->setMinimumWidth(m_pNext->fontMetrics().horizontalAdvance("00/00/0000 00:00:00.000 "));

  auto* form = new QFormLayout(this);
  form->setLabelAlignment(Qt::AlignLeft);
  form->addRow(m_pTimeLabel, m_pTime);
  form->addRow(kCountLabel, m_pCount);
  form->addRow(m_pNextLabel, m_pNext);
  auto* decimalsLabel = new QLabel(kDecimalsLabel, this);
  decimalsLabel->setBuddy(m_pDecimals);
  form->addRow(decimalsLabel, m_pDecimals);

  connect(m_pDecimals, &QComboBox::activated, this,
          [this](int index) { emit DecimalsChosen(index < 0 ? kDefaultDecimals : index); });
  SetTimeFieldsVisible(false);
}

void CAcquisitionStatusBox::SetTimeFieldsVisible(bool visible) {
  m_pTimeLabel->setVisible(visible);
  m_pTime->setVisible(visible);
  m_pNextLabel->setVisible(visible);
  m_pNext->setVisible(visible);
}

bool CAcquisitionStatusBox::TimeFieldsVisible() const {
  return !m_pTime->isHidden();
}

void CAcquisitionStatusBox::ShowCycle(int elapsedMs, int dataSetCount,
                                      const QString& nextAcquisition) {
  m_pTime->setText(QString(kTimeValue).arg(elapsedMs));
  m_pCount->setText(QString::number(dataSetCount));
  m_pNext->setText(nextAcquisition);
}

void CAcquisitionStatusBox::ShowDataSetCount(int dataSetCount) {
  m_pCount->setText(dataSetCount > 0 ? QString::number(dataSetCount) : QString());
}

void CAcquisitionStatusBox::SetDecimals(int decimals) {
  m_pDecimals->setCurrentIndex(decimals >= 0 && decimals <= kMaxDecimals ? decimals
                                                                         : kDefaultDecimals);
}
