#pragma once

#include <cstdint>

// The ten numbers of the frame's saved windowed placement, in their stored order.
struct WindowPlacementValues {
    int32_t flags = 0;
    int32_t showCmd = 0;
    int32_t minX = 0;
    int32_t minY = 0;
    int32_t maxX = 0;
    int32_t maxY = 0;
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    bool operator==(const WindowPlacementValues&) const = default;
};
