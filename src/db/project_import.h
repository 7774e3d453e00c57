#pragma once
// Import of a project file: connects to the server the file names, creates its groups and
// items there (so acquired items get their canonical types from the server), and saves the
// configuration through the same Save as the "Save Project" command. Nothing is saved
// when a group or an item is refused. Thread rule: GUI thread (or the CLI's one thread).
#include <functional>
#include <string>
#include <vector>

#include "db/project_file.h"
#include "db/project_state.h"
#include "db/project_store.h"

struct ProjectImportFailure {
  int m_nLine = 0;  // the item's line in the file
  std::string m_sGroup;
  std::string m_sShortId;
  std::string m_sItem;  // item id or expression
  std::string m_sReason;
  HRESULT m_hr = S_OK;  // the server's code for a refused item, S_OK otherwise
};

struct ProjectImportResult {
  int m_nProjectId = -1;
  // Why the import stopped; empty when the project was saved.
  std::string m_sError;
  std::vector<ProjectImportFailure> m_failures;
  int m_nGroupCount = 0;
  int m_nAcquiredCount = 0;
  int m_nCalcCount = 0;
  bool Succeeded() const { return m_nProjectId > 0; }
};

// The rules a calculated item must pass in its group (its expression, its identifier):
// the reason it is refused, or empty. The calculated-item rules live above this library,
// so the caller hands them in.
using CalcItemRule = std::function<std::string(const COPCGroup&, const COPCCalcItem&)>;

// Imports file with the store's server, which must hold no group (it is connected by the
// import and keeps the groups afterwards). On success the project's name becomes the
// current project name.
ProjectImportResult ImportProject(CProjectStore& store, CProjectState& state,
                                  const ProjectFile& file, const CalcItemRule& calcRule = {});

// True when a short id holds only letters, digits and the underscore (and something).
bool IsValidAcquiredShortId(const std::string& shortId);
