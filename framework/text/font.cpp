#include "framework/text/font.h"

HFONT createFont(const char* face, int height) {
    return CreateFontA(height, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, ANSI_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       FF_MODERN | DEFAULT_PITCH, face);
}

HFONT createDefaultFont(bool underline) {
    return CreateFontA(13, 0, 0, 0, FW_NORMAL, FALSE, underline ? TRUE : FALSE, FALSE,
                       ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       NONANTIALIASED_QUALITY, VARIABLE_PITCH | FF_DONTCARE, "Arial");
}
