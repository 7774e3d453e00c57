#pragma once
// What the navigation hands a view before it shows it: the recorded acquisition to work on
// and the data a chart shows. Here, below every library, so that the shell's navigation
// rules (app) and the views (which never include the shell) share one spelling.
// Thread rule: plain values.

// No recorded acquisition is selected or handed over.
inline constexpr int kNoAcquisition = -1;

// A chart view shows the running acquisition or a recorded one.
enum class ChartMode { kLive, kProject };
