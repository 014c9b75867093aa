#include "framework/display/window_layout.h"

namespace {

int clamp(int value, int low, int high) {
    if (value < low) return low;
    if (value > high) return high;
    return value;
}

// Rounds toward minus infinity, so that the pixels just left of or above the
// client area do not land on the first row or column.
int floorDivide(int value, int divisor) {
    const int quotient = value / divisor;
    return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

int centred(int start, int room, int size) {
    const int offset = room > size ? (room - size) / 2 : 0;
    return start + offset;
}

}  // namespace

WindowBox windowBox(int width, int height, int scale, const WindowFrame& frame,
                    const WindowBox& workArea) {
    const int outerWidth = frame.left + width * scale + frame.right;
    const int outerHeight = frame.top + height * scale + frame.bottom;
    return {centred(workArea.left, workArea.width, outerWidth),
            centred(workArea.top, workArea.height, outerHeight), outerWidth, outerHeight};
}

BufferPoint bufferPoint(int clientX, int clientY, int scale, int width, int height) {
    if (scale < 1) scale = 1;
    return {clamp(floorDivide(clientX, scale), 0, width - 1),
            clamp(floorDivide(clientY, scale), 0, height - 1)};
}

bool visibleBlocks(int cornerX, int cornerY, int scale, int width, int height, int screenWidth,
                   int screenHeight, BlockCopy& copy) {
    if (scale < 1) scale = 1;
    // First and one-past-last buffer column and row whose block is wholly on screen.
    const int left = clamp(-floorDivide(cornerX, scale), 0, width);
    const int top = clamp(-floorDivide(cornerY, scale), 0, height);
    const int right = clamp(floorDivide(screenWidth - cornerX, scale), 0, width);
    const int bottom = clamp(floorDivide(screenHeight - cornerY, scale), 0, height);
    if (right <= left || bottom <= top) return false;
    copy.source = {left, top, right - left, bottom - top};
    copy.target = {cornerX + left * scale, cornerY + top * scale, (right - left) * scale,
                   (bottom - top) * scale};
    return true;
}
