#pragma once
// The label of the one child a tree node has until it is enumerated, so that the node
// shows an expand button (the server selection tree and the browse tree).
inline constexpr char kPlaceholderLabel[] = "Dummy_Quorix_Item";
