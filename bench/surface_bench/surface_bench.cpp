// surface-bench: microseconds per call of Surface::draw on the real back
// surface, beside references timed in the same run. Prints one line per figure:
//   a 64 x 64 bitmap drawn plain and colour-keyed, against one
//   Painter::rectangle of the same size;
//   a full-screen 640 x 480 bitmap drawn at 0, 0, against Display::clear
//   (one colour fill of the whole back surface).
// Each figure is the median of five rounds; a round ends by taking the back
// surface's device context, so the blits it timed are done.
//   surface-bench [CALLS]   calls per round of the 64 x 64 blits, default 1000;
//                           the slower figures take a tenth or a twentieth
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "bench/support/measured_display.h"
#include "framework/surface/surface.h"

namespace {

// A 24-bit bitmap file of a colourful pattern with a magenta key colour in it.
bool writeBitmap(const char* name, int width, int height) {
    const int stride = (width * 3 + 3) & ~3;
    std::vector<unsigned char> file(54 + static_cast<size_t>(stride) * height, 0);
    auto put32 = [&](size_t at, unsigned value) {
        for (int i = 0; i < 4; ++i) file[at + i] = static_cast<unsigned char>(value >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<unsigned>(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<unsigned>(width));
    put32(22, static_cast<unsigned>(height));
    file[26] = 1;
    file[28] = 24;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned char* p = &file[54 + static_cast<size_t>(y) * stride + 3 * x];
            bool key = (x / 8 + y / 8) % 2 == 0;
            p[0] = key ? 255 : static_cast<unsigned char>(x);
            p[1] = key ? 0 : static_cast<unsigned char>(y);
            p[2] = key ? 255 : 128;
        }
    }
    FILE* out = std::fopen(name, "wb");
    if (!out) return false;
    bool ok = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && ok;
}

// Waits for what the blitter still has to do on the back surface.
void finishBlits() {
    HDC dc = nullptr;
    if (display.screen.backSurface->GetDC(&dc) == DD_OK) display.screen.backSurface->ReleaseDC(dc);
}

double microsecondsPerCall(int calls, const std::function<void()>& call) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> rounds;
    for (int round = 0; round < 5; ++round) {
        display.clear();
        finishBlits();
        QueryPerformanceCounter(&start);
        for (int i = 0; i < calls; ++i) call();
        finishBlits();
        QueryPerformanceCounter(&end);
        rounds.push_back(1e6 * static_cast<double>(end.QuadPart - start.QuadPart) /
                         static_cast<double>(frequency.QuadPart) / calls);
    }
    std::sort(rounds.begin(), rounds.end());
    return rounds[2];
}

void print(const char* figure, int calls, double value) {
    std::printf("%-40s %6d calls  %10.2f us/call\n", figure, calls, value);
}

}  // namespace

int main(int argc, char** argv) {
    int calls = argc > 1 && std::atoi(argv[1]) > 0 ? std::atoi(argv[1]) : 1000;
    if (!writeBitmap("bench64.bmp", 64, 64) || !writeBitmap("bench640.bmp", 640, 480)) {
        std::printf("surface-bench: cannot write the bitmaps in the current directory\n");
        return 1;
    }
    if (!display.open("KorvaneSurfaceBench", 640, 480, 4, measuredWindowProcedure, GetModuleHandleA(nullptr), nullptr,
                      nullptr)) {
        std::printf("surface-bench: the display did not open\n");
        return 1;
    }
    Surface small, keyed, full;
    if (!display.loadSurface(small, "bench64.bmp") || !display.loadSurface(keyed, "bench64.bmp") ||
        !display.loadSurface(full, "bench640.bmp")) {
        std::printf("surface-bench: the bitmaps did not load\n");
        return 1;
    }
    keyed.setColorKey(RGB(255, 0, 255));

    print("Surface::draw 64x64, plain", calls, microsecondsPerCall(calls, [&] { small.draw(100, 100); }));
    print("Surface::draw 64x64, colour-keyed", calls, microsecondsPerCall(calls, [&] { keyed.draw(100, 100); }));
    const int gdiCalls = std::max(1, calls / 10);
    print("Painter::rectangle 64x64", gdiCalls, microsecondsPerCall(gdiCalls, [&] {
              display.painter.rectangle(100, 100, 164, 164, RGB(0, 128, 255), RGB(255, 255, 255));
          }));
    const int fullCalls = std::max(1, calls / 20);
    print("Surface::draw 640x480 at 0, 0", fullCalls, microsecondsPerCall(fullCalls, [&] { full.draw(0, 0); }));
    print("Display::clear (fill of 640x480)", fullCalls, microsecondsPerCall(fullCalls, [&] { display.clear(); }));

    display.close();
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    DeleteFileA("bench64.bmp");
    DeleteFileA("bench640.bmp");
    return 0;
}
