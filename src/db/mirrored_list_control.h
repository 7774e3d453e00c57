#pragma once
// CMirroredListControl: fills a list (the dialog's table, or none) and keeps a copy of
// every cell, so that a presenter can read the rows it showed without asking the GUI.
// Thread rule: the filler's thread.
#include "db/recording_list_control.h"

class CMirroredListControl : public IListControl {
 public:
  // target may be null: only the copy is kept.
  explicit CMirroredListControl(IListControl* target = nullptr) : m_pTarget(target) {}
  void SetTarget(IListControl* target) { m_pTarget = target; }

  void Clear() override;
  int AddColumn(const std::string& title, int width, ListAlign align = ListAlign::kLeft) override;
  int AddRow(const std::string& firstCell, int64_t itemData = 0) override;
  void SetCell(int row, int column, const std::string& text) override;
  void FitColumns() override;

  const CRecordingListControl& Copy() const { return m_copy; }

 private:
  IListControl* m_pTarget;
  CRecordingListControl m_copy;
};
