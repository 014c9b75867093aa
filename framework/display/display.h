#pragma once
// The Display: the one top-level window, the DirectDraw pair it draws on (a
// full-screen flipping pair, or in a window a back buffer copied into the
// client area), the DirectInput keyboard, the DirectSound object, and the
// frame loop.
// The application defines the one global Display; it lives in zero-filled
// static storage, so there is no construction work. Its window procedure
// stores WM_ACTIVATEAPP's wParam in `active` and posts the quit message on
// WM_DESTROY; the loop depends on both.
//
// Fields are public so that client code (and a bare timing loop) can drive
// clear and flip directly.
#include <cstdint>

#include "framework/display/directx.h"
#include "framework/display/frame_pacing.h"
#include "framework/display/screen.h"
#include "framework/display/window_layout.h"
#include "framework/paint/painter.h"
#include "framework/text/text_painter.h"

class Surface;

// Called once per frame, between the clear and the flip, with frameArg.
using FrameCallback = void (*)(std::int32_t frameArg);

class Sound;  // framework/sound/sound.h

// True while DirectSound is set up; sound operations do nothing otherwise.
extern bool soundAvailable;
// Raised by releaseDevices when it releases the DirectSound object, which
// takes its buffers along: a Sound calls its buffer only while it is unchanged.
extern std::uint32_t directSoundGeneration;

class Display {
public:
    std::int32_t frameArg;
    DDBLTFX clearFx;
    std::int32_t seenCounter;
    std::int32_t counter;  // 0..100
    bool counterChanged;
    HWND window;
    Screen screen;
    TextPainter textPainter;
    Painter painter;
    bool running;
    std::int32_t active;  // written only by the window procedure
    IDirectInputA* directInput;
    IDirectInputDeviceA* keyboard;  // null when there is no usable keyboard device
    IDirectSound* directSound;

    // How often run() draws (frame_pacing.h), read at every pass. Zero-filled
    // it is the display's refresh rate, the default; FramePace::perSecond(N)
    // gives N frames a second and FramePace::noLimit() a frame whenever the
    // queue is empty. refreshRate is the display's rate in Hz as run() reads
    // it once when it starts: GetMonitorFrequency, else VREFRESH of the
    // window's DC, else 60 (also for 0, 1 and rates outside 20..1000).
    FramePace framePace;
    void setFramePace(FramePace pace);
    int refreshRate();

    // Frames driven by change, which a program asks for with
    // setFramesOnChange(true) (off when zero-filled: every slot of the pace
    // draws). Then run() draws only after invalidate(), "the screen changed",
    // and at once: as soon as the queue is empty, without waiting for the
    // pace's next slot, unless a frame was drawn in that interval already
    // (nextChangeStep): never more frames than the pace. Nothing changed, no frame: the loop sleeps until a
    // message comes. A change made by the frame callback itself counts as
    // drawn by that frame. The Display invalidates by itself when it is
    // activated, moved, resized, uncovered, switched by Alt+Enter, or when a
    // flip fails.
    bool framesOnChange;
    bool changed;  // invalidate() since the last frame
    // Frames still drawn as if changed, after a switch between the window and
    // the whole screen: the first frames after it may be shown where the
    // window no longer is (seen under Wine), so the next ones are drawn too.
    std::int32_t settleFrames;
    void setFramesOnChange(bool on);
    void invalidate();

    ~Display() { screen.release(); }

    // display_open.cpp. Depth mode 0..3: 8, 16, 24, 32 bits; 4: the desktop's.
    // Fatal failures show a message box and return false; any other depth mode
    // returns false before anything is created, without a message.
    bool open(const char* className, int width, int height, int depthMode, WNDPROC windowProc,
              HINSTANCE instance, HICON icon, HCURSOR cursor);
    bool createSurfaces();

    // framework/surface/display_load_surface.cpp: Surface::load with this screen.
    bool loadSurface(Surface& surface, const char* name);

    // frame_loop.cpp. run returns the quit message's wParam. A null callback
    // gives frames of clear and flip only.
    int run(FrameCallback callback);
    void close();
    void clear();
    void flip();

    // display_devices.cpp
    bool initSound();
    void initKeyboard();
    void releaseDevices();

    // display_window.cpp
    std::int32_t getFrameArg() const;
    void setFrameArg(std::int32_t value);
    LRESULT sendMessage(UINT message, WPARAM wParam, LPARAM lParam);
    UINT_PTR setTimer(UINT id, UINT milliseconds);
    BOOL killTimer(UINT id);
    void hideCursor();
    void showCursor();
    HFONT createFont(const char* face, int height);

    // counter.cpp
    void advanceCounter();
    bool checkCounter();
    void latchCounter();
    bool counterLatched() const;

    // framework/input/keyboard_mouse.cpp. keyDown takes a DirectInput scan
    // code (DIK_*, 0..255) and reads the keyboard device afresh, acquiring it
    // again when it was lost; it answers false without a keyboard device, for
    // a scan code outside 0..255, and when the device state cannot be read
    // (the window is not in the foreground). asyncKeyDown takes a virtual-key
    // code (VK_*): down now, or pressed since the previous call.
    bool keyDown(int scanCode);
    void getCursorPos(int& x, int& y);
    bool asyncKeyDown(int virtualKey);

    // framework/sound/display_sound.cpp: Sound::load with directSound.
    bool loadSound(Sound& sound, const char* name);

    // A window instead of the whole screen (display_window_mode.cpp).
    // windowScale, set before open: 0 (the default) takes the whole screen;
    // 1 to 4 open a normal window whose client area is the width and height
    // times that scale, each back-buffer pixel shown as a scale x scale block
    // (any other value makes open return false before anything is created).
    // Alt+Enter switches between the window and the whole screen, keeping
    // the DirectDraw object and so every Surface; `windowed` tells which is
    // shown. In a window the cursor shows, getCursorPos answers in back-buffer
    // pixels, and `active` stays set while the window is not minimised.
    std::int32_t windowScale;
    bool windowed;
    std::int32_t screenWidth;   // the back buffer's size, as open was given it
    std::int32_t screenHeight;
    std::int32_t screenBits;    // bits per pixel of the full-screen mode
    std::int32_t cursorLevel;   // hideCursor and showCursor calls, summed (-1, +1)
    WNDPROC clientWindowProc;   // the procedure given to open; the Display's own runs first
    IDirectDrawSurface* blockSurface;  // the buffer at scale, in system memory (scale above 1)
    std::uint32_t blockSurfaceGeneration;  // directDrawGeneration when blockSurface was made
    bool switchWindowed(bool toWindow);
    void presentWindow();

    // Desktop full screen (display_desktop.cpp), the third way to show the
    // Display. desktopFullScreen, set before open, makes it the Display's
    // full screen: with windowScale 0 open shows it at once, and Alt+Enter
    // switches between it and a window (at windowScale, 1 when that is 0,
    // back at its place). Borderless, the window covers the whole monitor that
    // holds it, at the monitor's own resolution: no display mode is set, the
    // level is normal, the primary is the desktop's with a clipper and the
    // back buffer is width x height, as in a window. Each flip copies it at the
    // largest whole scale that fits the monitor (window_layout.h), centred on
    // black; the pointer is hidden over it, getCursorPos answers in back-buffer
    // pixels, and `active` stays set while the window is not minimised.
    // `onDesktop` tells that it is shown. Without desktopFullScreen, Alt+Enter
    // switches between a window and the exclusive full screen as before.
    bool desktopFullScreen;
    bool onDesktop;
    std::int32_t blockSurfaceScale;  // the scale blockSurface was made for
    RECT windowPlace;                // the window's outer box before desktop full screen
    bool windowPlaceKept;
    bool switchDesktop(bool toDesktop);
    // The picture's scale and corner on the monitor that holds the window now.
    DesktopPicture desktopPicture() const;
    WindowBox monitorBox() const;
};
