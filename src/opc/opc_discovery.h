#pragma once
// Finding the OPC servers of a machine through its OPC server enumerator (OPCEnum).
// Thread rule: GUI thread (or the command-line tool's one thread).
#include <string>
#include <vector>

#include "platform/opc/opc_enum.h"

struct OpcServerEntry {
  CLSID m_clsid;
  std::string m_sProgId;
  std::string m_sDescription;
};

// Step texts of an enumeration failure (for the "OPC Enumeration Error" report).
inline constexpr char kEnumStepGetClassObject[] = "CoGetClassObject Error";
inline constexpr char kEnumStepCreateInstance[] =
    "Class Factory CreateInstance Error. OPCProxy.Dll is Not Registered Correctly !!!";
inline constexpr char kEnumStepCreateInstanceEx[] = "CoCreateInstanceEx Error";

struct OpcEnumResult {
  HRESULT m_hr = S_OK;
  // The step that failed when the enumerator could not be obtained; empty otherwise.
  std::string m_sFailedStep;
  std::vector<OpcServerEntry> m_servers;
};

// The servers on host ("Local Host" or empty: this machine) that implement at least one
// of the implemented categories and every one of the required ones, in the enumerator's
// order. Program ids and descriptions come as the system's 512-byte buffers hold them.
OpcEnumResult EnumerateServersWithOpcEnum(const std::string& host,
                                          const std::vector<CATID>& implemented,
                                          const std::vector<CATID>& required = {});

// A text as a conversion into a char buffer of that size keeps it: at most size - 1
// bytes, cut before a partial UTF-8 sequence.
std::string TextThroughBuffer(const std::string& text, size_t bufferSize);
