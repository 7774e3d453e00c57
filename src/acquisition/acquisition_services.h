#pragma once
// The services of a real acquisition: reads through the OPC client, the read statistics,
// and the calculated items' binding and evaluation.
#include "acquisition/acquisition_engine.h"

class COPCServer;

AcquisitionServices MakeAcquisitionServices(COPCServer& server, AppContext& context);
