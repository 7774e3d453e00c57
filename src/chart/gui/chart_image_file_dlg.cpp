#include "chart/gui/chart_image_file_dlg.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <filesystem>

#include "base/app_context.h"
#include "base/settings.h"
#include "chart/chart_image_rules.h"
#include "chart/gui/chart_image.h"

namespace {

constexpr char kTitle[] = "Save Chart to Image File";
constexpr char kPathLabel[] = "File Path: ";
constexpr char kNameLabel[] = "File Name: ";
constexpr char kTypeLabel[] = "File Type:";
constexpr char kBrowse[] = "...";

}  // namespace

CChartImageFileDlg::CChartImageFileDlg(const QStringList& types, const std::string& folder,
                                       const std::string& storedType, AppContext& context,
                                       QWidget* parent)
    : QDialog(parent), m_context(context) {
  setWindowTitle(kTitle);
  auto* grid = new QGridLayout(this);
  m_pPath = new QLineEdit(QString::fromStdString(folder), this);
  m_pPath->setMinimumWidth(320);
  auto* browse = new QPushButton(kBrowse, this);
  browse->setMaximumWidth(32);
  connect(browse, &QPushButton::clicked, this, &CChartImageFileDlg::Browse);
  auto* pathRow = new QHBoxLayout;
  pathRow->addWidget(m_pPath, 1);
  pathRow->addWidget(browse);
  grid->addWidget(new QLabel(kPathLabel, this), 0, 0);
  grid->addLayout(pathRow, 0, 1);
  m_pName = new QLineEdit(this);
  grid->addWidget(new QLabel(kNameLabel, this), 1, 0);
  grid->addWidget(m_pName, 1, 1);
  m_pTypes = new QListWidget(this);
  m_pTypes->addItems(types);
  m_pTypes->setMaximumHeight(m_pTypes->sizeHintForRow(0) * 6 + 4);
  const QList<QListWidgetItem*> stored =
      m_pTypes->findItems(QString::fromStdString(storedType), Qt::MatchExactly);
  if (!stored.isEmpty())
    m_pTypes->setCurrentItem(stored.front());
  grid->addWidget(new QLabel(kTypeLabel, this), 2, 0, Qt::AlignTop);
  grid->addWidget(m_pTypes, 2, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  m_pOk = buttons->button(QDialogButtonBox::Ok);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  grid->addWidget(buttons, 3, 0, 1, 2);
  // A picture needs a name.
  auto named = [this] { m_pOk->setEnabled(!m_pName->text().trimmed().isEmpty()); };
  connect(m_pName, &QLineEdit::textChanged, this, named);
  named();
  m_pName->setFocus();
}

ChartImageChoice CChartImageFileDlg::Choice() const {
  const QListWidgetItem* selected = m_pTypes->currentItem();
  ChartImageChoice choice;
  choice.folder = m_pPath->text().trimmed().toStdString();
  choice.type = ChartImageType(
      selected != nullptr && selected->isSelected() ? selected->text().toStdString() : "");
  choice.fileName = ChartImageFileName(m_pName->text().trimmed().toStdString(), choice.type);
  return choice;
}

void CChartImageFileDlg::Browse() {
  const std::optional<std::string> folder =
      m_context.prompt.ChooseFolder(kTitle, m_pPath->text().toStdString());
  if (folder)
    m_pPath->setText(QString::fromStdString(*folder));
}

std::optional<ChartImageChoice> ChooseChartImageFile(AppContext& context,
                                                     const std::string& databasePath) {
  const std::string folder =
      ChartImageFolder(settings::Read(context.settings, settings::kSaveGraphImgPath),
                       std::filesystem::path(databasePath).parent_path().string());
  CChartImageFileDlg dialog(ChartImageTypes(), folder,
                            settings::Read(context.settings, settings::kSaveGraphImgExt), context,
                            QApplication::activeWindow());
  if (dialog.exec() != QDialog::Accepted)
    return std::nullopt;
  const ChartImageChoice choice = dialog.Choice();
  settings::Write(context.settings, settings::kSaveGraphImgPath, choice.folder);
  settings::Write(context.settings, settings::kSaveGraphImgExt, choice.type);
  return choice;
}
