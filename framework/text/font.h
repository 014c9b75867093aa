#pragma once
// GDI font factories. Fonts are never deleted: callers keep them for the life
// of the process.
#include <windows.h>

// A font of the given face and height (weight "don't care", ANSI, modern
// family); null when the platform refuses.
HFONT createFont(const char* face, int height);

// Arial, 13 pixels, normal weight, not antialiased; underlined on request.
HFONT createDefaultFont(bool underline);
