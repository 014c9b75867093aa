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
    return visibleBlocksWithin(cornerX, cornerY, scale, width, height,
                               {0, 0, screenWidth, screenHeight}, copy);
}

bool visibleBlocksWithin(int cornerX, int cornerY, int scale, int width, int height,
                         const WindowBox& bounds, BlockCopy& copy) {
    if (scale < 1) scale = 1;
    // First and one-past-last buffer column and row whose block lies wholly
    // within the bounds, counted from the corner.
    const int fromLeft = bounds.left - cornerX;
    const int fromTop = bounds.top - cornerY;
    const int left = clamp(-floorDivide(-fromLeft, scale), 0, width);
    const int top = clamp(-floorDivide(-fromTop, scale), 0, height);
    const int right = clamp(floorDivide(fromLeft + bounds.width, scale), 0, width);
    const int bottom = clamp(floorDivide(fromTop + bounds.height, scale), 0, height);
    if (right <= left || bottom <= top) return false;
    copy.source = {left, top, right - left, bottom - top};
    copy.target = {cornerX + left * scale, cornerY + top * scale, (right - left) * scale,
                   (bottom - top) * scale};
    return true;
}

int desktopScale(int monitorWidth, int monitorHeight, int width, int height) {
    if (width < 1 || height < 1) return 1;
    const int across = monitorWidth / width;
    const int down = monitorHeight / height;
    const int scale = across < down ? across : down;
    return scale < 1 ? 1 : scale;
}

DesktopPicture desktopPicture(const WindowBox& monitor, int width, int height) {
    const int scale = desktopScale(monitor.width, monitor.height, width, height);
    return {scale, centred(monitor.left, monitor.width, width * scale),
            centred(monitor.top, monitor.height, height * scale)};
}

BufferPoint desktopPoint(int screenX, int screenY, const WindowBox& monitor, int width, int height) {
    const DesktopPicture picture = desktopPicture(monitor, width, height);
    return bufferPoint(screenX - picture.left, screenY - picture.top, picture.scale, width, height);
}
