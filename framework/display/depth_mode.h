#pragma once
// Depth modes of Display::open and the bits per pixel they stand for.
// Platform-free, so the mapping is tested natively.

inline constexpr int DEPTH_MODE_DESKTOP = 4;  // whatever the desktop uses now

constexpr bool isDepthMode(int depthMode) {
    return depthMode >= 0 && depthMode <= DEPTH_MODE_DESKTOP;
}

// 0..3 give 8, 16, 24, 32; 4 gives desktopBits. Any other mode names no depth
// and gives 0.
constexpr int depthModeBits(int depthMode, int desktopBits) {
    switch (depthMode) {
    case 0: return 8;
    case 1: return 16;
    case 2: return 24;
    case 3: return 32;
    case DEPTH_MODE_DESKTOP: return desktopBits;
    default: return 0;
    }
}
