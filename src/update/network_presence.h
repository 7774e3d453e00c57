#pragma once
// Whether this machine has a network connection at all: an interface that is up, running,
// not the loopback, and has an IPv4 or IPv6 address. "Check for Update" asks this first.
bool HasNetworkConnection();
