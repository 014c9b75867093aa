#pragma once
// Output written for a terminal, shown in the console's buffer: the controls
// that make sense in a buffer of lines act, every other control and escape
// sequence is dropped, and what is left reaches the buffer the way a plain
// print does (Console::append, then Console::trimLines).
//
//   CR            back to the start of the line; what follows overwrites it
//   LF            a new line, whatever the cursor's place in the line
//   BS            one character back, never past the start of the line
//   TAB           on to the next multiple of 8 columns
//   ESC[nC        n columns on: over the line's characters, then as blanks
//   ESC[K, 0K     erase to the end of the line
//   ESC[1K        blank the line up to and with the cursor
//   ESC[2K        erase the whole line; the cursor keeps its column
//   ESC[J, 0J     erase to the end of the line (nothing lies below it)
//   ESC[2J, 3J    clear the buffer
//   ESC[H, then an erase: a screen being cleared from its top; the buffer is
//                 cleared and the blank lines that follow are not shown
//   CSI, OSC (ended by BEL or ST), DCS/SOS/PM/APC strings, two-character
//   escapes, NUL, DEL and the other C0 controls: dropped
//
// Blanks past the end of a line are kept as a count and written when a
// character follows them or the print ends inside a line, so that a line
// feed or CR after them leaves no blanks at the line's end, while a prompt's
// last blank stays in front of what the user types. A sequence cut off by
// the end of one print is completed by the next.
//
// Typed text of an open input line is never changed: while the line holds
// any, what is printed follows it, as a plain print does. An input line
// without typed text lets the print rewrite the line in front of it; its
// input start never passes the end of the buffer.
#include <cstddef>
#include <cstdint>

class Console;

class TerminalPrint {
public:
    // Longest run of blanks one cursor-forward adds.
    static constexpr int MAX_FORWARD = 1000;

    void print(Console& console, const char* chars, std::size_t n);
    // Forgets the cursor's place and any unfinished sequence.
    void reset() { *this = TerminalPrint(); }

    // For tests: true while a sequence waits for its end.
    bool insideSequence() const { return state != State::ground; }

private:
    enum class State : std::uint8_t { ground, escape, escapeIntermediate, csi, string, stringEscape };
    static constexpr int MAX_PARAMETERS = 8;

    void control(Console& console, unsigned char c);
    void escapeFinal(Console& console, unsigned char c);
    void csiFinal(Console& console, unsigned char c);
    void put(Console& console, const char* chars, std::size_t n);
    void character(Console& console, char c);
    void writeBlanks(Console& console);
    void lineStartOfCursor(const Console& console, int& start, int& cursor) const;
    void eraseToEnd(Console& console);
    void cutLine(Console& console, int index);
    void eraseLine(Console& console);
    void blankToCursor(Console& console);
    void clearDisplay(Console& console);
    void forward(Console& console, int columns);

    // The cursor: characters of the line after it, and blanks past the
    // line's end before it (only while none are after it).
    int behind = 0;
    int pad = 0;
    // Nothing in front of this index is changed: the end of the typed text.
    int floor = 0;
    // The buffer's length after the last print; another change resets the cursor.
    int leftLength = -1;
    bool homed = false;    // ESC[H seen, nothing shown since
    bool cleared = false;  // and the buffer cleared after it
    State state = State::ground;
    bool privateMarker = false;
    bool intermediate = false;
    int parameterCount = 0;
    int parameters[MAX_PARAMETERS] = {};
};
