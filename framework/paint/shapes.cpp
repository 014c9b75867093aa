// The nine GDI shapes of Painter. Each makes a solid brush and a 2-pixel solid
// pen for the one call, and leaves the context's own pen and brush selected
// and no object of its own behind.
#include "framework/display/back_surface_dc.h"
#include "framework/paint/painter.h"

namespace {

template <typename Draw>
void drawShape(const Screen* screen, ColorRef fill, ColorRef penColor, Draw draw) {
    BackSurfaceDc dc(screen);
    if (!dc) {
        return;
    }
    HDC context = dc.get();
    HBRUSH brush = CreateSolidBrush(fill);
    HGDIOBJ oldBrush = SelectObject(context, brush);
    HPEN pen = CreatePen(PS_SOLID, 2, penColor);
    HGDIOBJ oldPen = SelectObject(context, pen);
    draw(context);
    SelectObject(context, oldPen);
    SelectObject(context, oldBrush);
    DeleteObject(brush);
    DeleteObject(pen);
}

}  // namespace

void Painter::arc(int left, int top, int right, int bottom, int startX, int startY, int endX,
                  int endY, ColorRef fill, ColorRef pen) {
    drawShape(screen, fill, pen, [&](HDC dc) {
        Arc(dc, left, top, right, bottom, startX, startY, endX, endY);
    });
}

void Painter::lineTo(int x, int y, ColorRef fill, ColorRef pen) {
    drawShape(screen, fill, pen, [&](HDC dc) { LineTo(dc, x, y); });
}

void Painter::angleArc(int x, int y, DWORD radius, float startAngle, float sweepAngle,
                       ColorRef pen) {
    drawShape(screen, 0, pen, [&](HDC dc) { AngleArc(dc, x, y, radius, startAngle, sweepAngle); });
}

void Painter::polygon(const POINT* points, int count, ColorRef fill, ColorRef pen) {
    drawShape(screen, fill, pen, [&](HDC dc) { Polygon(dc, points, count); });
}

void Painter::rectangle(int left, int top, int right, int bottom, ColorRef fill, ColorRef pen) {
    drawShape(screen, fill, pen, [&](HDC dc) { Rectangle(dc, left, top, right, bottom); });
}

void Painter::roundRect(int left, int top, int right, int bottom, int cornerWidth,
                        int cornerHeight, ColorRef fill, ColorRef pen) {
    drawShape(screen, fill, pen, [&](HDC dc) {
        RoundRect(dc, left, top, right, bottom, cornerWidth, cornerHeight);
    });
}

void Painter::pie(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2,
                  ColorRef fill, ColorRef pen) {
    drawShape(screen, fill, pen,
              [&](HDC dc) { Pie(dc, left, top, right, bottom, x1, y1, x2, y2); });
}

void Painter::chord(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2,
                    ColorRef fill, ColorRef pen) {
    drawShape(screen, fill, pen,
              [&](HDC dc) { Chord(dc, left, top, right, bottom, x1, y1, x2, y2); });
}

void Painter::ellipse(int left, int top, int right, int bottom, ColorRef fill, ColorRef pen) {
    drawShape(screen, fill, pen, [&](HDC dc) { Ellipse(dc, left, top, right, bottom); });
}
