#pragma once
// What the project explorer views (catalogue, data, export) read: the database of
// recordings, the services, and which acquisition is being recorded (it cannot be deleted).
// The shell's session implements it; the views never see the session itself.
// Thread rule: GUI thread.
#include "base/app_context.h"

class CSQLite;

class IExplorerSession {
 public:
  virtual AppContext& Context() = 0;
  virtual CSQLite& Database() = 0;
  // The acquisition being recorded; kNoAcquisition when none runs.
  virtual int RecordingAcquisitionId() const = 0;

 protected:
  ~IExplorerSession() = default;
};
