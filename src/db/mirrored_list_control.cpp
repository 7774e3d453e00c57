#include "db/mirrored_list_control.h"

void CMirroredListControl::Clear() {
  m_copy.Clear();
  if (m_pTarget != nullptr)
    m_pTarget->Clear();
}

int CMirroredListControl::AddColumn(const std::string& title, int width, ListAlign align) {
  if (m_pTarget != nullptr)
    m_pTarget->AddColumn(title, width, align);
  return m_copy.AddColumn(title, width, align);
}

int CMirroredListControl::AddRow(const std::string& firstCell, int64_t itemData) {
  if (m_pTarget != nullptr)
    m_pTarget->AddRow(firstCell, itemData);
  return m_copy.AddRow(firstCell, itemData);
}

void CMirroredListControl::SetCell(int row, int column, const std::string& text) {
  if (m_pTarget != nullptr)
    m_pTarget->SetCell(row, column, text);
  m_copy.SetCell(row, column, text);
}

void CMirroredListControl::FitColumns() {
  if (m_pTarget != nullptr)
    m_pTarget->FitColumns();
  m_copy.FitColumns();
}
