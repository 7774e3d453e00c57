#include "opc/gui/statistics_dlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QTimerEvent>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ui/colour_ref.h"

namespace {

constexpr const char* kRowLabels[] = {"Current Acquisition Rate: ", "Minimum Acquisition Rate: ",
                                      "Maximum Acquisition Rate: ", "Average Acquisition Rate: "};

}  // namespace

void CStatisticsBarWidget::SetPosition(int position) {
  m_nPosition = std::clamp(position, 0, kStatisticsBarRange);
  update();
}

void CStatisticsBarWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect frame = rect().adjusted(0, 0, -1, -1);
  painter.fillRect(frame, palette().base());
  const int filled = frame.width() * m_nPosition / kStatisticsBarRange;
  painter.fillRect(QRect(frame.left(), frame.top(), filled, frame.height()),
                   ColourFromColorRef(kStatisticsBarColour));
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawRect(frame);
  const int target = frame.left() + frame.width() * kStatisticsTargetPosition / kStatisticsBarRange;
  painter.setPen(QPen(Qt::black, 2));
  painter.drawLine(target, frame.top(), target, frame.bottom());
}

CStatisticsDlg::CStatisticsDlg(const COPCServer& server, IUserPrompt& prompt, QWidget* parent)
    : QDialog(parent),
      m_server(server),
      m_prompt(prompt),
      m_pGroups(new QTreeWidget(this)),
      m_pFrame(new QGroupBox(this)),
      m_pCount(new QLabel(this)) {
  setWindowTitle(kStatisticsTitle);
  const StatisticsServerPart part = BuildStatisticsServerPart(server);
  auto* serverForm = new QFormLayout;
  serverForm->addRow("Server Id: ", new QLabel(QString::fromStdString(part.m_sServerId), this));
  serverForm->addRow("OPC Server Host: ", new QLabel(QString::fromStdString(part.m_sHost), this));
  serverForm->addRow("Connection Status: ",
                     new QLabel(QString::fromStdString(part.m_sConnectionStatus), this));
  serverForm->addRow("Server Status: ",
                     new QLabel(QString::fromStdString(part.m_sServerStatus), this));
  serverForm->addRow("Group Count in OPC Server: ",
                     new QLabel(QString::fromStdString(part.m_sGroupCount), this));
  m_pGroups->setHeaderLabels({"Group Name", "Update Rate"});
  m_pGroups->setRootIsDecorated(false);
  for (const StatisticsGroupRow& row : part.m_groups) {
    m_pGroups->addTopLevelItem(new QTreeWidgetItem(
        {QString::fromStdString(row.m_sName), QString::fromStdString(row.m_sUpdateRate)}));
  }
  m_pGroups->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

  auto* grid = new QGridLayout(m_pFrame);
  grid->addWidget(new QLabel("Number of OPC Data Acquisition: ", this), 0, 0);
  grid->addWidget(m_pCount, 0, 1);
  auto* target = new QLabel("Target", this);
  target->setAlignment(Qt::AlignCenter);
  grid->addWidget(target, 1, 2);
  for (int row = 0; row < 4; ++row) {
    m_figures[row] = new QLabel(this);
    m_bars[row] = new CStatisticsBarWidget(this);
    grid->addWidget(new QLabel(kRowLabels[row], this), row + 2, 0);
    grid->addWidget(m_figures[row], row + 2, 1);
    grid->addWidget(m_bars[row], row + 2, 2);
  }
  grid->setColumnStretch(2, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(serverForm);
  layout->addWidget(m_pGroups, 1);
  layout->addWidget(m_pFrame);
  layout->addWidget(buttons);
  resize(560, 520);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(m_pGroups, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
    if (m_nTimer != 0)
      killTimer(m_nTimer), m_nTimer = 0;
    if (current != nullptr)
      ShowGroup(current->text(0).toStdString());
  });
  if (m_pGroups->topLevelItemCount() > 0)
    m_pGroups->setCurrentItem(m_pGroups->topLevelItem(0));
}

void CStatisticsDlg::ShowGroup(const std::string& name) {
  m_sGroup = name;
  RefreshGroup();
  m_nTimer = startTimer(kStatisticsRefreshMs);
}

void CStatisticsDlg::RefreshGroup() {
  const COPCGroup* group = FindStatisticsGroup(m_server, m_sGroup, m_prompt);
  if (group == nullptr) {
    if (m_nTimer != 0)
      killTimer(m_nTimer), m_nTimer = 0;
    return;
  }
  const StatisticsGroupPart part = BuildStatisticsGroupPart(*group);
  m_pFrame->setTitle(QString::fromStdString(part.m_sFrameTitle));
  m_pCount->setText(QString::fromStdString(part.m_sCount));
  const StatisticsBar* bars[] = {&part.m_current, &part.m_minimum, &part.m_maximum,
                                 &part.m_average};
  for (int row = 0; row < 4; ++row) {
    m_figures[row]->setText(QString::fromStdString(bars[row]->m_sText));
    m_bars[row]->SetPosition(bars[row]->m_nPosition);
  }
}

void CStatisticsDlg::timerEvent(QTimerEvent* event) {
  if (event->timerId() == m_nTimer)
    RefreshGroup();
}

void CStatisticsDlg::done(int result) {
  if (m_nTimer != 0)
    killTimer(m_nTimer), m_nTimer = 0;
  QDialog::done(result);
}
