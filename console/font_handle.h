#pragma once

// A GDI font handle (HFONT) as the core stores it, so that the core never
// includes windows.h. Null means: draw in the device context's default font.
using FontHandle = void*;
