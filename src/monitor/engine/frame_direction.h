#pragma once
// Who sent a D-channel frame, as the adapter's trace line marks it: " -> " for
// the user side (the adapter and its phones), " <- " for the network.
enum class FrameDirection { Unknown, UserToNetwork, NetworkToUser };
