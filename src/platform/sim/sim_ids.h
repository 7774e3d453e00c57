#pragma once
// Program ids and class ids of the built-in simulation servers.
#include "platform/com/guid.h"

inline constexpr const char* kSimServerProgId = "Velmora.SimServer.1";
inline constexpr const char* kSimServerDa1ProgId = "Velmora.SimServerDA1.1";
inline constexpr const char* kSimServerNoBrowseProgId = "Velmora.SimServerNoBrowse.1";

// Full DA 2.0 server (also in the DA 1.0 category).
inline constexpr CLSID CLSID_VelmoraSimServer{
    0x6E0D3A11, 0x5B7C, 0x4C2E, {0x9A, 0x41, 0x3F, 0x1D, 0x2C, 0x7B, 0x8E, 0x01}};
// DA 1.0-only server: flat address space, no connection points, no IOPCCommon.
inline constexpr CLSID CLSID_VelmoraSimServerDA1{
    0x6E0D3A11, 0x5B7C, 0x4C2E, {0x9A, 0x41, 0x3F, 0x1D, 0x2C, 0x7B, 0x8E, 0x02}};
// DA 2.0 server without address-space browsing (items can only be typed).
inline constexpr CLSID CLSID_VelmoraSimServerNoBrowse{
    0x6E0D3A11, 0x5B7C, 0x4C2E, {0x9A, 0x41, 0x3F, 0x1D, 0x2C, 0x7B, 0x8E, 0x03}};
