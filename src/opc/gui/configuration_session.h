#pragma once
// What the configuration view reads and commands: the server model, the project (store,
// state, save, close) and whether an acquisition runs, which locks the configuration.
// The shell's session implements it; the view never sees the session itself.
// Thread rule: GUI thread.
#include "base/app_context.h"

class COPCServer;
class CProjectState;
class CProjectStore;
class CSQLite;

class IConfigurationSession {
 public:
  virtual AppContext& Context() = 0;
  virtual COPCServer& Server() = 0;
  // The project database, for the server dialogs' known servers and the project dialogs.
  virtual CSQLite& Database() = 0;
  virtual CProjectStore& ProjectStore() = 0;
  virtual CProjectState& ProjectState() = 0;
  virtual bool IsAcquisitionRunning() const = 0;
  virtual bool IsProjectModified() const = 0;
  // The close-project sequence (with its questions); true when the project was closed.
  virtual bool CloseProject() = 0;
  // "Save Project" with its dialogs; true when saved.
  virtual bool SaveProject() = 0;

 protected:
  ~IConfigurationSession() = default;
};
