#pragma once
// GDI drawing on the Display's back surface: pixels, pixel lines of our own,
// a pixel read, and nine shapes drawn by GDI with a solid brush and a 2-pixel
// solid pen made for the one call. Every call takes the surface's device
// context once and gives it back; the context's pen and brush are put back
// and the call's own are deleted before it returns.
#include <windows.h>

#include "console/color_ref.h"

class Screen;

class Painter {
public:
    Screen* screen;

    void bind(Screen* target);

    void setPixel(int x, int y, ColorRef color);
    // y1..y2 downwards, both ends included; nothing when y1 > y2.
    void verticalLine(int y1, int y2, int x, ColorRef color);
    // x2..x1 right to left, both ends included; nothing when x2 < x1.
    void horizontalLine(int x1, int x2, int y, ColorRef color);
    // See line_algorithm.h: the x-major case may stop a row short of y2.
    void line(int x1, int y1, int x2, int y2, ColorRef color);
    // CLR_INVALID when the surface gives no device context.
    ColorRef getPixel(int x, int y);

    // Shapes: the shape's own arguments as GDI takes them, then fill, then pen.
    // lineTo and angleArc start at the fresh context's position, (0, 0).
    void arc(int left, int top, int right, int bottom, int startX, int startY, int endX, int endY,
             ColorRef fill, ColorRef pen);
    void lineTo(int x, int y, ColorRef fill, ColorRef pen);
    // Fills nothing; its brush is always black.
    void angleArc(int x, int y, DWORD radius, float startAngle, float sweepAngle, ColorRef pen);
    void polygon(const POINT* points, int count, ColorRef fill, ColorRef pen);
    void rectangle(int left, int top, int right, int bottom, ColorRef fill, ColorRef pen);
    void roundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight,
                   ColorRef fill, ColorRef pen);
    void pie(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2,
             ColorRef fill, ColorRef pen);
    void chord(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2,
               ColorRef fill, ColorRef pen);
    void ellipse(int left, int top, int right, int bottom, ColorRef fill, ColorRef pen);
};
