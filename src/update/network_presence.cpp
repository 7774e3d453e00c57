#include "update/network_presence.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <sys/socket.h>

bool HasNetworkConnection() {
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0)
    return false;
  bool found = false;
  for (const ifaddrs* entry = list; entry != nullptr && !found; entry = entry->ifa_next) {
    const unsigned flags = entry->ifa_flags;
    const bool usable = (flags & IFF_UP) != 0 && (flags & IFF_RUNNING) != 0 &&
                        (flags & IFF_LOOPBACK) == 0 && entry->ifa_addr != nullptr;
    found =
        usable && (entry->ifa_addr->sa_family == AF_INET || entry->ifa_addr->sa_family == AF_INET6);
  }
  freeifaddrs(list);
  return found;
}
