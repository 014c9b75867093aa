// framework-tour: one small program on every service of Korvane's framework.
// A sprite (sprite.bmp beside the executable, magenta transparent) moves with
// the arrow keys or joystick 0, Space plays the program's own WAVE resource, a
// socket talks to a TCP echo peer, and status lines show what each service
// reports. Escape ends it.
//   framework-tour [ADDRESS [PORT]] [--frames N] [--status FILE] [--measure N]
//                  [--window] [--scale N | --desktop]
// The peer defaults to 127.0.0.1, port 7. --frames ends the run after N frames;
// --status writes what the screen shows into FILE now and then; --measure times
// N bare frames (clear and flip only) against N frames of the tour, without a
// frame limit, and ends.
// --window and --scale N (1 to 4) show it in a window; Alt+Enter switches.
// --desktop shows it in desktop full screen; Alt+Enter switches to a window.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/display/display.h"
#include "framework/display/display_options.h"
#include "framework/input/joystick.h"
#include "framework/net/socket.h"
#include "framework/sound/sound.h"
#include "framework/surface/surface.h"

Display display;  // zero-filled static storage, as the Display expects
Surface sprite;
Sound beep;
Socket peer;
Joystick joystick;

namespace {

constexpr UINT SOCKET_MESSAGE = WM_APP + 1;
constexpr UINT FPS_TIMER = 1;
constexpr ColorRef MAGENTA = 0xFF00FF;
constexpr ColorRef FRAME_COLOR = 0x00C000;     // green
constexpr ColorRef FALLBACK_COLOR = 0x0080FF;  // orange, when the bitmap is missing
constexpr int SPRITE_SIZE = 48;                // the fallback rectangle's size
constexpr int AREA_LEFT = 10, AREA_TOP = 80, AREA_RIGHT = 630, AREA_BOTTOM = 470;
constexpr double SPEED = 160.0;  // pixels per second

struct Options {
    const char* address = "127.0.0.1";
    int port = 7;
    long frameLimit = 0;  // 0: until Escape
    const char* statusFile = nullptr;
    long measureFrames = 0;
};

Options options;
bool spriteLoaded = false, soundLoaded = false, joystickFound = false, spaceWasDown = false, soundSeenPlaying = false;
double x = 296, y = 250;
int spriteWidth = SPRITE_SIZE, spriteHeight = SPRITE_SIZE;
const char* netState = "connecting";
char lastReply[128] = "", incoming[128];
int incomingLength = 0, linesSent = 0;
long frames = 0;
int framesThisSecond = 0, framesPerSecond = 0;
LARGE_INTEGER frequency, lastTick, nextSend, nextRetry, measureLast;
double measuredSeconds[2];  // --measure: bare frames [0] and tour frames [1]
long measuredFrames[2];
int lastFrameKind = -1;
const char* endedBy = nullptr;

double secondsSince(const LARGE_INTEGER& then) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart - then.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void later(LARGE_INTEGER& when, double seconds) {
    QueryPerformanceCounter(&when);
    when.QuadPart += static_cast<LONGLONG>(seconds * static_cast<double>(frequency.QuadPart));
}

bool due(const LARGE_INTEGER& when) { return secondsSince(when) >= 0; }

const char* soundState() {
    if (!soundAvailable) return "no device";
    if (!soundLoaded) return "not loaded";
    if (beep.isPlaying()) return "playing";
    return "stopped";
}

void losePeer() {  // and try again in three seconds
    peer.close();
    netState = "no connection";
    later(nextRetry, 3.0);
}

void connectToPeer() {
    netState = "connecting";
    incomingLength = 0;
    peer.create(display.window, SOCKET_MESSAGE);
    // A non-blocking connect answers "would block" and FD_CONNECT tells the
    // outcome later; anything else failed at once.
    if (peer.connect(options.address, options.port) != 0 && WSAGetLastError() != WSAEWOULDBLOCK) losePeer();
}

void onSocketEvent(SOCKET from, WORD event, WORD error) {
    if (from != peer.handle) return;  // a late word from a socket already closed
    if (event == FD_CONNECT && error == 0) {
        netState = "connected";
        later(nextSend, 0.0);
    } else if (event == FD_CONNECT || event == FD_CLOSE) {
        losePeer();
    } else if (event == FD_READ) {
        char bytes[256];
        const int count = peer.receive(bytes, sizeof bytes);
        for (int i = 0; i < count; ++i) {  // a line too long for the screen is cut in two
            const bool endOfLine = bytes[i] == '\n';
            if (!endOfLine && bytes[i] != '\r') incoming[incomingLength++] = bytes[i];
            if (endOfLine || incomingLength == sizeof incoming - 1) {
                std::memcpy(lastReply, incoming, incomingLength);
                lastReply[incomingLength] = 0;
                incomingLength = 0;
            }
        }
    }
}

void writeStatus() {
    if (!options.statusFile) return;
    char temporary[MAX_PATH + 4];
    std::snprintf(temporary, sizeof temporary, "%s.new", options.statusFile);
    FILE* file = std::fopen(temporary, "w");
    if (!file) return;
    std::fprintf(file, "frames=%ld\nfps=%d\nx=%d\ny=%d\nsprite=%s\njoystick=%s\nsound=%s\n", frames,
                 framesPerSecond, static_cast<int>(x), static_cast<int>(y), spriteLoaded ? "loaded" : "missing",
                 joystickFound ? "present" : "none", soundState());
    std::fprintf(file, "sound_seen_playing=%s\nnet=%s\nsent=%d\nreply=%s\n", soundSeenPlaying ? "yes" : "no",
                 netState, linesSent, lastReply);
    if (options.measureFrames > 0 && measuredFrames[1] >= options.measureFrames)
        std::fprintf(file, "bare_fps=%.1f\ntour_fps=%.1f\n", measuredFrames[0] / measuredSeconds[0],
                     measuredFrames[1] / measuredSeconds[1]);
    if (endedBy) std::fprintf(file, "ended=%s\n", endedBy);
    std::fclose(file);
    MoveFileExA(temporary, options.statusFile, MOVEFILE_REPLACE_EXISTING);
}

// Releases what the tour holds while the Display's devices still exist: the
// sound buffer belongs to the DirectSound object that Display::run releases.
void endTour(const char* reason) {
    endedBy = reason;
    writeStatus();
    beep.release();
    sprite.release();
    peer.close();
    display.killTimer(FPS_TIMER);
    display.close();
}

void moveSprite(double seconds) {
    double dx = 0, dy = 0;
    if (display.keyDown(DIK_LEFT) || (joystickFound && joystick.isLeft())) dx -= 1;
    if (display.keyDown(DIK_RIGHT) || (joystickFound && joystick.isRight())) dx += 1;
    if (display.keyDown(DIK_UP) || (joystickFound && joystick.isUp())) dy -= 1;
    if (display.keyDown(DIK_DOWN) || (joystickFound && joystick.isDown())) dy += 1;
    // BltFast draws only sprites that lie wholly on the surface: stay inside.
    x = std::clamp(x + dx * SPEED * seconds, AREA_LEFT + 2.0, AREA_RIGHT - 2.0 - spriteWidth);
    y = std::clamp(y + dy * SPEED * seconds, AREA_TOP + 2.0, AREA_BOTTOM - 2.0 - spriteHeight);
}

void drawTour() {
    const int left = static_cast<int>(x), top = static_cast<int>(y);
    display.painter.rectangle(AREA_LEFT, AREA_TOP, AREA_RIGHT, AREA_BOTTOM, 0, FRAME_COLOR);
    if (spriteLoaded)
        sprite.draw(left, top);
    else
        display.painter.rectangle(left, top, left + SPRITE_SIZE, top + SPRITE_SIZE, FALLBACK_COLOR, FALLBACK_COLOR);

    TextPainter& text = display.textPainter;
    text.setBackColor(0);
    text.setTextColor(0xFFFFFF);
    // One call for the status lines: each call takes the surface's device context.
    text.printInRect(10, 4, 630, 76, "%d frames/s   sprite at %d, %d   joystick: %s\nsound: %s   (Space plays it)\n"
                     "net %s:%d: %s   reply: %s\n%s", framesPerSecond, left, top, joystickFound ? "present" : "none",
                     soundState(), options.address, options.port, netState, lastReply[0] ? lastReply : "-",
                     spriteLoaded ? "" : "bitmap sprite.bmp missing or too large: a plain rectangle instead");
}

void tourFrame(std::int32_t) {
    ++frames;
    if (options.measureFrames > 0) {
        // Blocks of 50 bare and 50 tour frames in turn, so that a busy machine
        // slows both alike. A frame lasts from its callback to the next one.
        if (lastFrameKind >= 0) {
            measuredSeconds[lastFrameKind] += secondsSince(measureLast);
            ++measuredFrames[lastFrameKind];
        }
        QueryPerformanceCounter(&measureLast);
        if (measuredFrames[1] >= options.measureFrames) return endTour("measure");
        lastFrameKind = static_cast<int>(frames / 50 % 2);
        if (lastFrameKind == 0) return;  // a bare frame: clear and flip only
    }

    // The timer advances the Display's counter once a second; the frames
    // counted since then are the frame rate.
    ++framesThisSecond;
    display.latchCounter();
    if (display.counterLatched()) {
        framesPerSecond = framesThisSecond;
        framesThisSecond = 0;
    }

    const double seconds = std::clamp(secondsSince(lastTick), 0.0, 0.05);  // a stall is no jump
    QueryPerformanceCounter(&lastTick);
    moveSprite(seconds);

    const bool spaceDown = display.keyDown(DIK_SPACE);
    if (spaceDown && !spaceWasDown) beep.play();
    spaceWasDown = spaceDown;
    if (beep.isPlaying()) soundSeenPlaying = true;

    if (std::strcmp(netState, "connected") == 0 && due(nextSend)) {
        char line[64];
        const int length = std::snprintf(line, sizeof line, "hello %d from the tour\n", ++linesSent);
        peer.send(line, length);
        later(nextSend, 2.0);
    } else if (std::strcmp(netState, "no connection") == 0 && due(nextRetry)) {
        connectToPeer();
    }

    drawTour();
    if (frames % 30 == 0) writeStatus();
    if (display.keyDown(DIK_ESCAPE)) return endTour("escape");
    if (options.frameLimit > 0 && frames >= options.frameLimit) endTour("frames");
}

LRESULT CALLBACK tourWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ACTIVATEAPP: display.active = static_cast<std::int32_t>(wParam); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    case WM_TIMER: display.advanceCounter(); return 0;
    case SOCKET_MESSAGE:
        onSocketEvent(static_cast<SOCKET>(wParam), WSAGETSELECTEVENT(lParam), WSAGETSELECTERROR(lParam));
        return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

// False, after a message box naming the accepted display options, when a
// display option is wrong.
bool readOptions(int argc, char** argv) {
    int positional = 0;
    DisplayOptions displayOptions;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (const int used = takeDisplayOption(displayOptions, argc, argv, i)) {
            i += used - 1;
            if (!displayOptions.problem.empty()) {
                const std::string text = "framework-tour: " + displayOptions.problem + ".\n\n" + DISPLAY_OPTIONS_USAGE;
                MessageBoxA(nullptr, text.c_str(), "framework-tour", MB_ICONERROR);
                return false;
            }
        } else if (std::strcmp(argv[i], "--frames") == 0 && hasValue)
            options.frameLimit = std::atol(argv[++i]);
        else if (std::strcmp(argv[i], "--status") == 0 && hasValue)
            options.statusFile = argv[++i];
        else if (std::strcmp(argv[i], "--measure") == 0 && hasValue)
            options.measureFrames = std::atol(argv[++i]);
        else if (positional++ == 0)
            options.address = argv[i];
        else
            options.port = std::atoi(argv[i]);
    }
    display.windowScale = displayOptions.windowScale;
    display.desktopFullScreen = displayOptions.desktop;
    return true;
}

// The tour works in its own folder, where sprite.bmp lies, wherever it is
// started from: a Surface keeps names of at most 49 characters, too few for
// most full paths. The status file stays where it was asked for.
void enterOwnFolder() {
    static char statusPath[MAX_PATH];
    if (options.statusFile && GetFullPathNameA(options.statusFile, MAX_PATH, statusPath, nullptr) > 0)
        options.statusFile = statusPath;
    char folder[MAX_PATH];
    GetModuleFileNameA(nullptr, folder, MAX_PATH);
    if (char* slash = std::strrchr(folder, '\\')) {
        *slash = 0;
        SetCurrentDirectoryA(folder);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (!readOptions(__argc, __argv)) return 2;
    enterOwnFolder();
    QueryPerformanceFrequency(&frequency);

    WSADATA winsock;
    if (WSAStartup(MAKEWORD(1, 1), &winsock) != 0) return 1;
    if (!display.open("KorvaneTour", 640, 480, 4, tourWindowProcedure, instance, nullptr, nullptr)) {
        WSACleanup();
        return 1;
    }
    display.hideCursor();
    display.setTimer(FPS_TIMER, 1000);

    spriteLoaded = display.loadSurface(sprite, "sprite.bmp");
    // BltFast does not clip: a sprite larger than the play area could never be drawn.
    if (spriteLoaded && (sprite.width > AREA_RIGHT - AREA_LEFT - 4 || sprite.height > AREA_BOTTOM - AREA_TOP - 4)) {
        sprite.release();
        spriteLoaded = false;
    }
    if (spriteLoaded) {
        sprite.setColorKey(MAGENTA);
        spriteWidth = sprite.width;
        spriteHeight = sprite.height;
    }
    soundLoaded = display.loadSound(beep, "BEEP");  // nothing without a sound device
    joystickFound = joystick.calibrate();
    connectToPeer();
    QueryPerformanceCounter(&lastTick);

    // The tour draws at the display's refresh rate; its measurement wants
    // every frame the loop can draw.
    if (options.measureFrames > 0) display.setFramePace(FramePace::noLimit());
    const int code = display.run(tourFrame);
    if (!endedBy) {  // the window was closed some other way
        endedBy = "window closed";
        writeStatus();
    }
    WSACleanup();
    return code;
}
