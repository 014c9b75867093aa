#pragma once
// How the console's font lays text out: the advance of each character and
// the height of a line, as DrawTextA and TextOutA place them. Kept per font.
#include "console/font_handle.h"

struct TextMetrics {
    int widths[256];
    int lineHeight;
};

const TextMetrics& textMetrics(FontHandle font);
