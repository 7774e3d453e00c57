#include "app/gui/outlook_bar.h"

#include <QListWidget>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QStyle::StandardPixmap GroupIcon(NavigationGroup group) {
  switch (group) {
    case NavigationGroup::kOpcExplorer:
      return QStyle::SP_ComputerIcon;
    case NavigationGroup::kProjects:
      return QStyle::SP_DirIcon;
    case NavigationGroup::kDcom:
      return QStyle::SP_DriveNetIcon;
  }
  return QStyle::SP_DirIcon;
}

QStyle::StandardPixmap EntryIcon(NavigationEntry entry) {
  switch (entry) {
    case NavigationEntry::kOpcExplorerSetup:
      return QStyle::SP_ComputerIcon;
    case NavigationEntry::kDataAcquisition:
      return QStyle::SP_DriveHDIcon;
    case NavigationEntry::kOpcDataVisualization:
      return QStyle::SP_FileDialogInfoView;
    case NavigationEntry::kVelmoraProjects:
      return QStyle::SP_DirOpenIcon;
    case NavigationEntry::kProjectOpcData:
      return QStyle::SP_FileDialogDetailedView;
    case NavigationEntry::kExportProjectData:
      return QStyle::SP_DialogSaveButton;
    case NavigationEntry::kProjectDataVisualization:
      return QStyle::SP_FileDialogInfoView;
    case NavigationEntry::kDcomSettings:
      return QStyle::SP_DriveNetIcon;
  }
  return QStyle::SP_FileIcon;
}

}  // namespace

COutlookBar::COutlookBar(QWidget* parent) : QWidget(parent) {
  setObjectName("OutlookBar");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(1);
  for (int g = 0; g < kGroupCount; ++g) {
    const auto group = static_cast<NavigationGroup>(g);
    auto* header = new QToolButton(this);
    header->setObjectName("OutlookGroup");
    header->setText(GroupName(group));
    header->setIcon(style()->standardIcon(GroupIcon(group)));
    header->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    header->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    header->setCheckable(true);
    header->setMinimumHeight(30);
    connect(header, &QToolButton::clicked, this, [this, group] {
      ExpandGroup(group);
      emit groupOpened(group);
    });
    auto* list = new QListWidget(this);
    list->setObjectName("OutlookEntries");
    list->setIconSize(QSize(24, 24));
    list->setSpacing(2);
    list->setFrameShape(QFrame::NoFrame);
    for (int e = 0; e < kEntryCount; ++e) {
      const auto entry = static_cast<NavigationEntry>(e);
      if (GroupOfEntry(entry) != group)
        continue;
      auto* item = new QListWidgetItem(style()->standardIcon(EntryIcon(entry)), EntryName(entry));
      item->setData(Qt::UserRole, e);
      list->addItem(item);
    }
    auto choose = [this](QListWidgetItem* item) {
      emit entryChosen(static_cast<NavigationEntry>(item->data(Qt::UserRole).toInt()));
    };
    connect(list, &QListWidget::itemClicked, this, choose);
    connect(list, &QListWidget::itemActivated, this, choose);
    m_headers[static_cast<size_t>(g)] = header;
    m_lists[static_cast<size_t>(g)] = list;
    layout->addWidget(header);
    layout->addWidget(list, 1);
  }
  ExpandGroup(NavigationGroup::kOpcExplorer);
}

void COutlookBar::ExpandGroup(NavigationGroup group) {
  m_expanded = group;
  for (int g = 0; g < kGroupCount; ++g) {
    const bool open = g == static_cast<int>(group);
    m_headers[static_cast<size_t>(g)]->setChecked(open);
    m_lists[static_cast<size_t>(g)]->setVisible(open);
  }
}

QToolButton* COutlookBar::GroupButton(NavigationGroup group) const {
  return m_headers[static_cast<size_t>(group)];
}

QListWidget* COutlookBar::EntryList(NavigationGroup group) const {
  return m_lists[static_cast<size_t>(group)];
}
