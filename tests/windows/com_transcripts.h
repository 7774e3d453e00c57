#pragma once
// Transcripts of the calls a client makes on an OPC server, its groups, the server
// enumerator and the category manager: every result code and output, in call order. Made
// once on objects of one source and once on another (the simulation itself, its objects
// through the Windows adapters, or real COM objects of velmora-simserver.exe) they must
// be equal. Values that follow the clock are left out.
#include <string>

#include "platform/com/category.h"
#include "platform/com/com_ptr.h"
#include "platform/opc/opc_enum.h"
#include "platform/opc/opc_interfaces.h"

// Where the objects come from.
class ObjectSource {
 public:
  virtual ~ObjectSource() = default;
  virtual ComPtr<IOPCServer> Server(const CLSID& clsid) const = 0;
  virtual ComPtr<IOPCServerList> ServerList() const = 0;
  virtual ComPtr<ICatInformation> Categories() const = 0;
};

// Server, IOPCCommon, item properties, public groups, IPersistFile, browsing.
std::string ServerCalls(const ObjectSource& source);
// A group: state, public state, items, sync and async 2.0 I/O, removal.
std::string GroupCalls(const ObjectSource& source);
// The server enumerator and the category manager.
std::string DiscoveryCalls(const ObjectSource& source);
