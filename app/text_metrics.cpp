#include "app/text_metrics.h"

#include <windows.h>

const TextMetrics& textMetrics(FontHandle font) {
    static TextMetrics metrics;
    static FontHandle measured;
    static bool valid = false;
    if (valid && measured == font) return metrics;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = nullptr;
    if (dc && font) previous = SelectObject(dc, static_cast<HFONT>(font));
    TEXTMETRICA text{};
    INT widths[256];
    const bool ok = dc && GetCharWidth32A(dc, 0, 255, widths) && GetTextMetricsA(dc, &text) && text.tmHeight > 0;
    for (int i = 0; i < 256; ++i) metrics.widths[i] = ok ? widths[i] : 6;
    metrics.lineHeight = ok ? text.tmHeight : 12;
    if (previous) SelectObject(dc, previous);
    if (dc) DeleteDC(dc);
    measured = font;
    valid = ok;
    return metrics;
}
