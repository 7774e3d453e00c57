#pragma once
// Waits that keep the windows alive: pending events run while the time passes.
// GUI thread only; never called from core code.

// Runs pending events for about the given time (at least one pass).
void PumpMessagesFor(int milliseconds);
