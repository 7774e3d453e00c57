#include "acquisition/gui/historical_data_model.h"

#include <QBrush>
#include <QColor>

#include "ui/colour_ref.h"

namespace {
constexpr char kTimeHeading[] = "OPC Data Acquisition Time  ";
// How often arrived pages are looked for while some are awaited.
constexpr int kPagePollMs = 30;
}  // namespace

CHistoricalDataModel::CHistoricalDataModel(const HistoricalDataList& list, QObject* parent)
    : QAbstractTableModel(parent),
      m_list(list),
      m_pLoader(std::make_unique<CHistoryPageLoader>(list)),
      m_nGeneration(list.Generation()) {
  m_pageTimer.setInterval(kPagePollMs);
  connect(&m_pageTimer, &QTimer::timeout, this, [this] { TakePages(); });
}

int CHistoricalDataModel::PendingPages() const {
  return m_pLoader->Pending();
}

void CHistoricalDataModel::ForgetPages() {
  m_pLoader->Cancel();
  m_pages.clear();
  m_pageTimer.stop();
  m_nGeneration = m_list.Generation();
}

DataSetPtr CHistoricalDataModel::RowAt(int row) const {
  if (m_list.InMemory(row))
    return m_list.Row(row);
  const int page = row / HistoricalDataList::kPageRows;
  for (const LoadedHistoryPage& loaded : m_pages) {
    if (loaded.page != page)
      continue;
    const size_t at = static_cast<size_t>(row - page * HistoricalDataList::kPageRows);
    if (at < loaded.rows.size() && loaded.rows[at])
      return loaded.rows[at];
    break;  // still in memory when read: asked again below
  }
  auto* self = const_cast<CHistoricalDataModel*>(this);
  self->m_pLoader->Request(page, m_nGeneration);
  if (!self->m_pageTimer.isActive())
    self->m_pageTimer.start();
  return nullptr;
}

void CHistoricalDataModel::TakePages() {
  if (m_list.Generation() != m_nGeneration) {
    // Cleared or rebuilt: the view resets the rows next; nothing old is shown meanwhile.
    m_pLoader->Cancel();
    m_pages.clear();
  }
  for (LoadedHistoryPage& page : m_pLoader->TakeLoaded(m_nGeneration)) {
    const int first = page.page * HistoricalDataList::kPageRows;
    const int last = std::min(m_nRows, first + static_cast<int>(page.rows.size())) - 1;
    std::erase_if(m_pages, [&](const LoadedHistoryPage& old) { return old.page == page.page; });
    m_pages.push_front(std::move(page));
    if (m_pages.size() > kCachedPages)
      m_pages.pop_back();
    if (last >= first)
      emit dataChanged(index(first, 0), index(last, columnCount() - 1));
  }
  if (m_pLoader->Pending() == 0)
    m_pageTimer.stop();
}

void CHistoricalDataModel::SetHeadings(const QStringList& itemHeadings) {
  if (itemHeadings.size() == m_headings.size()) {
    // Same columns: only the texts change, the rows and the scroll position stay.
    m_headings = itemHeadings;
    if (!m_headings.isEmpty())
      emit headerDataChanged(Qt::Horizontal, 1, static_cast<int>(m_headings.size()));
    return;
  }
  beginResetModel();
  ForgetPages();
  m_headings = itemHeadings;
  m_nRows = m_list.Count();
  endResetModel();
}

void CHistoricalDataModel::SetColours(const DataColours& colours) {
  m_colours = colours;
  if (m_nRows > 0) {
    emit dataChanged(index(0, 1), index(m_nRows - 1, columnCount() - 1), {Qt::ForegroundRole});
  }
}

void CHistoricalDataModel::Refresh(int firstChanged, int lastChanged) {
  const int count = m_list.Count();
  if (count < m_nRows || m_list.Generation() != m_nGeneration) {
    ResetRows();
    return;
  }
  if (firstChanged >= 0 && lastChanged >= firstChanged && firstChanged < m_nRows) {
    emit dataChanged(index(firstChanged, 0),
                     index(std::min(lastChanged, m_nRows - 1), columnCount() - 1));
  }
  if (count > m_nRows) {
    beginInsertRows(QModelIndex(), m_nRows, count - 1);
    m_nRows = count;
    endInsertRows();
  }
}

void CHistoricalDataModel::ResetRows() {
  beginResetModel();
  ForgetPages();
  m_nRows = m_list.Count();
  endResetModel();
}

int CHistoricalDataModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : m_nRows;
}

int CHistoricalDataModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_headings.size()) + 1;
}

QVariant CHistoricalDataModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= m_nRows)
    return {};
  if (role != Qt::DisplayRole && role != Qt::ForegroundRole)
    return {};
  DataSetPtr row = RowAt(index.row());
  if (!row)
    return {};  // an older row whose page is on its way
  if (role == Qt::DisplayRole) {
    const std::string_view text = index.column() == 0 ? row->TimeText() : row->Cell(index.column());
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  }
  if (index.column() == 0)
    return {};
  return QBrush(ColourFromColorRef(CellColour(row->Status(index.column()), m_colours)));
}

QVariant CHistoricalDataModel::headerData(int section, Qt::Orientation orientation,
                                          int role) const {
  if (role != Qt::DisplayRole)
    return {};
  if (orientation == Qt::Vertical)
    return section + 1;
  if (section == 0)
    return QString::fromLatin1(kTimeHeading);
  return section - 1 < m_headings.size() ? m_headings[section - 1] : QVariant();
}
