/* key-to-screen: keystroke-to-screen latency, measured from outside a program
 * as a user sees it. A key press is sent with XTest; the screen is read with
 * XGetImage, with a short sleep between reads (reading flat out takes CPU
 * from the program measured), until the last line of text changes.
 *
 *   key-to-screen control
 *       a bare Xlib window at 0,0 that draws "> " and the typed text at once
 *       on each KeyPress: the floor of the method. Runs until killed.
 *   key-to-screen measure LABEL X Y WIDTH HEIGHT [KEYS] [SLEEP_US]
 *       the program whose text area lies at X,Y, WIDTH x HEIGHT on the root
 *       window and has the keyboard focus: KEYS keys (default 60), 'a' and
 *       BackSpace in turn, 80 to 250 ms apart at random, SLEEP_US (default
 *       200) slept between reads. Prints
 *       "LABEL: N keys, median M ms, 95th percentile P ms, best B ms".
 *
 * The watched band is the last line of text in the area, found by its lit
 * pixels. Rows of the band that change while nothing is typed (a flickering
 * cursor) are watched no more; a key that changes only those rows is not
 * seen. */
#define _DEFAULT_SOURCE
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

enum { LINE_ROWS = 16, MAX_KEYS = 1000 };

static Display* display;

static double nowMs(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec * 1e3 + (double)t.tv_nsec / 1e6;
}

static void fail(const char* why) {
    fprintf(stderr, "key-to-screen: %s\n", why);
    exit(1);
}

/* ---- the control window ---- */

static int runControl(void) {
    int screen = DefaultScreen(display);
    Window window =
        XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, 320, 48, 0, 0, BlackPixel(display, screen));
    XSetWindowAttributes attributes;
    attributes.override_redirect = True;
    XChangeWindowAttributes(display, window, CWOverrideRedirect, &attributes);
    XStoreName(display, window, "key-to-screen control");
    XSelectInput(display, window, KeyPressMask | ExposureMask | StructureNotifyMask);
    GC gc = XCreateGC(display, window, 0, NULL);
    XSetForeground(display, gc, 0x00C800);
    XMapRaised(display, window);
    char line[128] = "> ";
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify) XSetInputFocus(display, window, RevertToParent, CurrentTime);
        if (event.type == KeyPress) {
            KeySym symbol = XLookupKeysym(&event.xkey, 0);
            size_t length = strlen(line);
            if (symbol == XK_BackSpace && length > 2)
                line[length - 1] = '\0';
            else if (symbol >= XK_a && symbol <= XK_z && length + 1 < sizeof line) {
                line[length] = (char)symbol;
                line[length + 1] = '\0';
            }
        } else if (event.type != Expose) {
            continue;
        }
        XClearWindow(display, window);
        XDrawString(display, window, gc, 4, 30, line, (int)strlen(line));
        XFlush(display);
    }
    return 0;
}

/* ---- the measurement ---- */

static int areaX, areaY, areaWidth, areaHeight;
static int bandTop, bandRows;
static unsigned char watched[LINE_ROWS];

static XImage* readArea(int top, int rows) {
    XImage* image = XGetImage(display, DefaultRootWindow(display), areaX, areaY + top, (unsigned)areaWidth,
                              (unsigned)rows, AllPlanes, ZPixmap);
    if (!image) fail("XGetImage failed: is the area on the screen?");
    return image;
}

/* The lowest row of the area with a lit pixel, or -1. */
static int lowestLitRow(void) {
    XImage* image = readArea(0, areaHeight);
    int lowest = -1;
    for (int y = 0; y < areaHeight; ++y)
        for (int x = 0; x < areaWidth; ++x)
            if (XGetPixel(image, x, y) & 0xFFFFFF) {
                lowest = y;
                break;
            }
    XDestroyImage(image);
    return lowest;
}

static void readBand(unsigned long* pixels) {
    XImage* image = readArea(bandTop, bandRows);
    for (int y = 0; y < bandRows; ++y)
        for (int x = 0; x < areaWidth; ++x) pixels[y * areaWidth + x] = XGetPixel(image, x, y) & 0xFFFFFF;
    XDestroyImage(image);
}

static int differs(const unsigned long* a, const unsigned long* b, int onlyWatched) {
    for (int y = 0; y < bandRows; ++y) {
        if (onlyWatched && !watched[y]) continue;
        if (memcmp(a + y * areaWidth, b + y * areaWidth, sizeof *a * (size_t)areaWidth)) return 1;
    }
    return 0;
}

static void press(KeyCode code) {
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XSync(display, False);
}

static void release(KeyCode code) {
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    XSync(display, False);
}

/* Reads until the watched rows differ from `before`; the time of that read,
 * or -1 after the timeout. */
static double waitForChange(const unsigned long* before, unsigned long* now, double timeoutMs, int sleepUs) {
    const double end = nowMs() + timeoutMs;
    for (;;) {
        readBand(now);
        const double at = nowMs();
        if (differs(before, now, 1)) return at;
        if (at > end) return -1;
        if (sleepUs > 0) usleep((useconds_t)sleepUs);
    }
}

/* Marks rows that change on their own over `ms` as not watched. */
static void unwatchRestlessRows(unsigned long* first, unsigned long* now, double ms) {
    readBand(first);
    const double end = nowMs() + ms;
    while (nowMs() < end) {
        readBand(now);
        for (int y = 0; y < bandRows; ++y)
            if (memcmp(first + y * areaWidth, now + y * areaWidth, sizeof *now * (size_t)areaWidth)) watched[y] = 0;
        usleep(2000);
    }
}

static int compareDoubles(const void* a, const void* b) {
    const double d = *(const double*)a - *(const double*)b;
    return (d > 0) - (d < 0);
}

static int runMeasure(const char* label, int keys, int sleepUs) {
    /* Wait for text in the area (the program starting), then for it to settle. */
    const double deadline = nowMs() + 30000;
    int lowest;
    while ((lowest = lowestLitRow()) < 0) {
        if (nowMs() > deadline) fail("nothing drawn in the area within 30 s");
        usleep(100000);
    }
    usleep(700000);
    lowest = lowestLitRow();
    bandTop = lowest - LINE_ROWS + 3 < 0 ? 0 : lowest - LINE_ROWS + 3;
    bandRows = bandTop + LINE_ROWS > areaHeight ? areaHeight - bandTop : LINE_ROWS;
    memset(watched, 1, sizeof watched);

    unsigned long* before = malloc(sizeof *before * (size_t)(areaWidth * bandRows));
    unsigned long* now = malloc(sizeof *now * (size_t)(areaWidth * bandRows));
    double* latencies = malloc(sizeof *latencies * (size_t)keys);
    if (!before || !now || !latencies) fail("out of memory");
    const KeyCode letter = XKeysymToKeycode(display, XK_a);
    const KeyCode back = XKeysymToKeycode(display, XK_BackSpace);

    /* Restless rows, with the text as it is and with one more letter (a
     * cursor after the text moves with it). */
    unwatchRestlessRows(before, now, 1200);
    press(letter);
    release(letter);
    usleep(300000);
    unwatchRestlessRows(before, now, 1200);
    press(back);
    release(back);
    usleep(300000);
    int rowsWatched = 0;
    for (int y = 0; y < bandRows; ++y) rowsWatched += watched[y];
    if (!rowsWatched) fail("every row of the last line changes by itself");

    srand((unsigned)getpid());
    int seen = 0, missed = 0;
    for (int i = 0; i < keys; ++i) {
        usleep((useconds_t)(80000 + rand() % 170001));
        const KeyCode code = i % 2 ? back : letter;
        readBand(before);
        const double sent = nowMs();
        press(code);
        const double shown = waitForChange(before, now, 1000, sleepUs);
        release(code);
        if (shown < 0) {
            ++missed;
            continue;
        }
        latencies[seen++] = shown - sent;
    }
    if (seen == 0) fail("no key was seen on the screen (focus? area?)");
    qsort(latencies, (size_t)seen, sizeof *latencies, compareDoubles);
    const double median = seen % 2 ? latencies[seen / 2] : (latencies[seen / 2 - 1] + latencies[seen / 2]) / 2;
    int p95 = (int)(0.95 * seen + 0.5) - 1;
    if (p95 < 0) p95 = 0;
    printf("%s: %d keys, median %.1f ms, 95th percentile %.1f ms, best %.1f ms%s\n", label, seen, median,
           latencies[p95], latencies[0], missed ? " (some keys not seen)" : "");
    if (missed) printf("%s: %d keys not seen within 1 s\n", label, missed);
    free(before);
    free(now);
    free(latencies);
    return 0;
}

int main(int argc, char** argv) {
    if (argc < 2) fail("usage: key-to-screen control | measure LABEL X Y WIDTH HEIGHT [KEYS] [SLEEP_US]");
    display = XOpenDisplay(NULL);
    if (!display) fail("cannot open the display (DISPLAY)");
    if (strcmp(argv[1], "control") == 0) return runControl();
    if (strcmp(argv[1], "measure") != 0 || argc < 7)
        fail("usage: key-to-screen measure LABEL X Y WIDTH HEIGHT [KEYS] [SLEEP_US]");
    int event, error, major, minor;
    if (!XTestQueryExtension(display, &event, &error, &major, &minor)) fail("the X server has no XTEST");
    areaX = atoi(argv[3]);
    areaY = atoi(argv[4]);
    areaWidth = atoi(argv[5]);
    areaHeight = atoi(argv[6]);
    if (areaWidth <= 0 || areaHeight <= 0) fail("the area must have a width and a height");
    int keys = argc > 7 ? atoi(argv[7]) : 60;
    if (keys < 1 || keys > MAX_KEYS) fail("keys: 1 to 1000");
    const int sleepUs = argc > 8 ? atoi(argv[8]) : 200;
    const int status = runMeasure(argv[2], keys, sleepUs);
    XCloseDisplay(display);
    return status;
}
