#pragma once
// IServerSelectionDialogs: the two dialogs the selection tree opens when its direct
// roots are expanded. The GUI shows real dialogs; tests script the answers.
#include "opc/direct_host_selection.h"
#include "opc/direct_server_selection.h"

class IServerSelectionDialogs {
 public:
  virtual ~IServerSelectionDialogs() = default;
  // The direct host dialog. true (OK) with the host and the servers it listed.
  virtual bool AskDirectHost(DirectHostChoice& choice) = 0;
  // The direct server dialog. true (OK) with host, server id and class id text.
  virtual bool AskDirectServer(DirectServerChoice& choice) = 0;
};
