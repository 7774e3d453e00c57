#pragma once
// The close-project sequence run by "Close Project", Exit, the close box and a server's
// shutdown request: stop a running acquisition, offer to save the project, remove the
// groups, disconnect the server and reset the views. Thread rule: GUI thread.
#include <string>

#include "base/user_prompt.h"

// The project as the acquisition, project and server features see it.
class IProjectSession {
 public:
  virtual ~IProjectSession() = default;
  virtual bool IsAcquisitionRunning() const = 0;
  virtual void StopAcquisition() = 0;
  virtual bool IsProjectModified() const = 0;
  virtual void SetProjectModified(bool modified) = 0;
  // False when the project could not be saved (the save has reported why).
  virtual bool SaveProject() = 0;
  // Removes every group from the server, then disconnects it.
  virtual void RemoveGroupsAndDisconnect() = 0;
  virtual std::string ServerId() const = 0;
  virtual std::string ServerHost() const = 0;
  virtual void ClearServerName() = 0;
};

// What the sequence needs from the main frame.
class ICloseProjectFrame {
 public:
  virtual ~ICloseProjectFrame() = default;
  // The configuration view, the acquisition view and the live chart all exist.
  virtual bool HasSessionViews() const = 0;
  // Resets the acquisition view, the live chart and the configuration view.
  virtual void ResetSessionViews() = 0;
  // Lets pending window messages run for about the given time.
  virtual void RunPendingMessages(int milliseconds) = 0;
  virtual void SetWaitCursor(bool wait) = 0;
  // Ends every dialog still open (unapplied): what they work on is about to be freed.
  virtual void CloseOpenDialogs() = 0;
};

inline constexpr char kConfirmationRequestTitle[] = "Confirmation Request";
inline constexpr int kCloseProjectSettleMs = 200;

class CCloseProjectSequence {
 public:
  CCloseProjectSequence(IProjectSession& session, ICloseProjectFrame& frame, IUserPrompt& prompt)
      : m_session(session), m_frame(frame), m_prompt(prompt) {}
  // True when the project was closed; false when the user kept it open or a view is missing.
  bool Run(bool triggeredByServer);

 private:
  bool ConfirmAcquisitionStop();
  bool OfferProjectSave(bool triggeredByServer);

  IProjectSession& m_session;
  ICloseProjectFrame& m_frame;
  IUserPrompt& m_prompt;
};

// The session before any server, acquisition or project feature is connected: it keeps
// the two flags and has nothing to stop, save or disconnect.
class CUnconnectedProjectSession : public IProjectSession {
 public:
  bool IsAcquisitionRunning() const override { return m_bAcquisitionRunning; }
  void StopAcquisition() override { m_bAcquisitionRunning = false; }
  bool IsProjectModified() const override { return m_bModified; }
  void SetProjectModified(bool modified) override { m_bModified = modified; }
  bool SaveProject() override { return true; }
  void RemoveGroupsAndDisconnect() override {}
  std::string ServerId() const override { return m_sServerId; }
  std::string ServerHost() const override { return m_sServerHost; }
  void ClearServerName() override { m_sServerId.clear(); }

 private:
  bool m_bAcquisitionRunning = false;
  bool m_bModified = false;
  std::string m_sServerId;
  std::string m_sServerHost;
};
