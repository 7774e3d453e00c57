#include "opc/gui/property_dlg.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kDescriptionRole = Qt::UserRole + 1;

}  // namespace

CPropertyDlg::CPropertyDlg(const char* title, const char* caption,
                           const std::vector<PropertyRow>& rows, QWidget* parent)
    : QDialog(parent), m_pGrid(new QTreeWidget(this)), m_pDescription(new QLabel(this)) {
  setWindowTitle(title);
  auto* heading = new QLabel(caption, this);
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);
  m_pGrid->setHeaderLabels({"Property", "Value"});
  m_pGrid->setUniformRowHeights(true);
  QTreeWidgetItem* category = nullptr;
  for (const PropertyRow& row : rows) {
    if (category == nullptr || category->text(0).toStdString() != row.category) {
      category = new QTreeWidgetItem({QString::fromStdString(row.category)});
      category->setFont(0, bold);
      category->setFirstColumnSpanned(true);
      m_pGrid->addTopLevelItem(category);
      category->setFirstColumnSpanned(true);
      category->setExpanded(true);
    }
    auto* item = new QTreeWidgetItem(
        category, {QString::fromStdString(row.name), QString::fromStdString(row.value)});
    item->setData(0, kDescriptionRole, QString::fromStdString(row.description));
  }
  m_pGrid->expandAll();
  m_pGrid->resizeColumnToContents(0);
  m_pDescription->setWordWrap(true);
  m_pDescription->setMinimumHeight(m_pDescription->fontMetrics().height() * 3);
  m_pDescription->setFrameShape(QFrame::StyledPanel);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading);
  layout->addWidget(m_pGrid, 1);
  layout->addWidget(m_pDescription);
  layout->addWidget(buttons);
  resize(640, 520);
  connect(m_pGrid, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
    m_pDescription->setText(current != nullptr ? current->data(0, kDescriptionRole).toString()
                                               : QString());
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

QString CPropertyDlg::Value(const QString& name) const {
  const QList<QTreeWidgetItem*> found =
      m_pGrid->findItems(name, Qt::MatchExactly | Qt::MatchRecursive, 0);
  return found.isEmpty() ? QString() : found.front()->text(1);
}
