// The terminal print: a small VT parser whose few actions edit the last line
// of the console's buffer.
#include "console/terminal_print.h"

#include <algorithm>
#include <cstring>

#include "console/console.h"
#include "console/platform.h"

namespace {

constexpr unsigned char ESC = 0x1B;
constexpr unsigned char BEL = 0x07;
constexpr unsigned char CAN = 0x18;
constexpr unsigned char SUB = 0x1A;
constexpr unsigned char DEL = 0x7F;
constexpr int TAB_WIDTH = 8;
constexpr int LARGEST_PARAMETER = 99999;

// Shown as it stands: characters and the line feed, which ends any line.
bool plain(unsigned char c) { return c >= 0x20 ? c != DEL : c == '\n'; }

}  // namespace

void TerminalPrint::print(Console& console, const char* chars, std::size_t n) {
    const int length = console.length();
    // Someone else wrote or cleared the buffer since: the cursor is at its end.
    if (length != leftLength) {
        behind = 0;
        pad = 0;
        homed = false;
        cleared = false;
    }
    const bool typed = console.inputOpen && console.inputStart >= 0 && console.inputStart < length;
    floor = typed ? length : 0;
    if (typed) behind = 0;

    std::size_t i = 0;
    while (i < n) {
        if (state == State::ground) {
            if (behind == 0 && pad == 0 && !cleared) {
                // Most output is runs of plain text: one append each.
                std::size_t j = i;
                while (j < n && plain(static_cast<unsigned char>(chars[j]))) ++j;
                if (j > i) {
                    homed = false;
                    put(console, chars + i, j - i);
                    i = j;
                    continue;
                }
            }
            const unsigned char c = static_cast<unsigned char>(chars[i++]);
            if (c == ESC) {
                state = State::escape;
            } else if (c < 0x20 || c == DEL) {
                control(console, c);
            } else {
                character(console, static_cast<char>(c));
            }
            continue;
        }

        const unsigned char c = static_cast<unsigned char>(chars[i++]);
        if (state == State::string) {
            if (c == BEL || c == CAN || c == SUB) state = State::ground;
            if (c == ESC) state = State::stringEscape;
            continue;
        }
        if (state == State::stringEscape) {
            if (c == '\\') {
                state = State::ground;
                continue;
            }
            state = State::escape;  // an escape of its own ends the string
        }
        if (c == ESC) {
            state = State::escape;
            continue;
        }
        if (c == CAN || c == SUB || c >= 0x80) {
            state = State::ground;
            continue;
        }
        if (c < 0x20) {
            control(console, c);  // executed in the middle of a sequence, as terminals do
            continue;
        }
        if (c == DEL) continue;
        if (state == State::escape) {
            escapeFinal(console, c);
        } else if (state == State::escapeIntermediate) {
            if (c >= 0x30) state = State::ground;
        } else {  // csi
            if (c >= '0' && c <= '9') {
                int& value = parameters[parameterCount - 1];
                value = std::min(value * 10 + (c - '0'), LARGEST_PARAMETER);
            } else if (c == ';') {
                if (parameterCount < MAX_PARAMETERS) parameters[parameterCount++] = 0;
            } else if (c == ':' || (c >= 0x3C && c <= 0x3F)) {
                privateMarker = true;
            } else if (c < 0x30) {
                intermediate = true;
            } else {
                state = State::ground;
                csiFinal(console, c);
            }
        }
    }

    // Blanks the cursor moved over stay for what comes next: the user's
    // typing after a prompt, or the next print.
    if (pad > 0 && state == State::ground) writeBlanks(console);
    console.trimLines();
    if (console.inputStart > console.length()) console.inputStart = console.length();
    leftLength = console.length();
    // Erasing and overwriting in place change the screen without an append.
    platform::screenChanged();
}

void TerminalPrint::escapeFinal(Console&, unsigned char c) {
    if (c == '[') {
        state = State::csi;
        privateMarker = false;
        intermediate = false;
        parameterCount = 1;
        parameters[0] = 0;
    } else if (c == ']' || c == 'P' || c == 'X' || c == '^' || c == '_') {
        state = State::string;
    } else if (c < 0x30) {
        state = State::escapeIntermediate;
    } else {
        state = State::ground;  // a two-character escape: nothing to show
    }
}

void TerminalPrint::csiFinal(Console& console, unsigned char c) {
    if (privateMarker || intermediate) return;
    const int first = parameters[0];
    switch (c) {
    case 'C': forward(console, first == 0 ? 1 : first); break;
    case 'G': {  // to a column of the line
        int start = 0, cursor = 0;
        lineStartOfCursor(console, start, cursor);
        const int column = cursor - start + pad;
        const int target = (first == 0 ? 1 : first) - 1;
        if (target > column) {
            forward(console, target - column);
        } else {
            int back = column - target;
            const int fromPad = std::min(back, pad);
            pad -= fromPad;
            back -= fromPad;
            behind += std::min(back, cursor - start);
        }
        break;
    }
    case 'H':
    case 'f': {
        bool home = true;
        for (int p = 0; p < parameterCount; ++p) home = home && parameters[p] <= 1;
        if (home) homed = true;
        break;
    }
    case 'K':
        if (homed) {
            if (!cleared) clearDisplay(console);
            cleared = true;
        } else if (first == 0) {
            eraseToEnd(console);
        } else if (first == 1) {
            blankToCursor(console);
        } else if (first == 2) {
            eraseLine(console);
        }
        break;
    case 'J':
        if (first == 2 || first == 3 || (homed && first == 0)) {
            if (!cleared) clearDisplay(console);
            cleared = homed;
        } else if (first == 0) {
            eraseToEnd(console);
        }
        break;
    default: break;  // colours, modes, scrolling, reports: one text colour here
    }
}

void TerminalPrint::control(Console& console, unsigned char c) {
    switch (c) {
    case '\r': {
        if (cleared) return;
        int start = 0, cursor = 0;
        lineStartOfCursor(console, start, cursor);
        behind = console.length() - start;
        pad = 0;
        break;
    }
    case '\n':
        if (cleared) return;
        behind = 0;
        pad = 0;
        put(console, "\n", 1);
        break;
    case '\b':
        if (pad > 0) {
            --pad;
        } else {
            const int before = console.length() - behind - 1;
            if (before >= floor && before >= 0 && console.text[before] != '\n') ++behind;
        }
        break;
    case '\t': {
        int start = 0, cursor = 0;
        lineStartOfCursor(console, start, cursor);
        const int column = cursor - start + pad;
        forward(console, TAB_WIDTH - column % TAB_WIDTH);
        break;
    }
    default: break;  // NUL, BEL and the rest show nothing
    }
}

void TerminalPrint::put(Console& console, const char* chars, std::size_t n) {
    const long long before = console.length();
    console.append(chars, n);
    // Text dropped at the front moves the fixed part with it.
    const long long dropped = before + static_cast<long long>(n) - console.length();
    if (dropped > 0) floor = static_cast<int>(std::max<long long>(0, floor - dropped));
}

void TerminalPrint::character(Console& console, char c) {
    homed = false;
    cleared = false;
    if (behind > 0) {
        // Never a line break or a zero: the counts of the buffer stay right.
        console.text[console.length() - behind] = c;
        --behind;
        return;
    }
    writeBlanks(console);
    put(console, &c, 1);
}

void TerminalPrint::writeBlanks(Console& console) {
    char blanks[256];
    std::memset(blanks, ' ', sizeof blanks);
    while (pad > 0) {
        const int now = std::min(pad, static_cast<int>(sizeof blanks));
        put(console, blanks, static_cast<std::size_t>(now));
        pad -= now;
    }
}

void TerminalPrint::lineStartOfCursor(const Console& console, int& start, int& cursor) const {
    cursor = console.length() - behind;
    start = cursor;
    while (start > floor && console.text[start - 1] != '\n') --start;
}

void TerminalPrint::forward(Console&, int columns) {
    columns = std::min(columns, MAX_FORWARD);
    const int over = std::min(columns, behind);
    behind -= over;
    pad = std::min(pad + columns - over, CONSOLE_CAPACITY);
}

void TerminalPrint::eraseToEnd(Console& console) {
    if (behind == 0) return;
    cutLine(console, console.length() - behind);
    behind = 0;
}

void TerminalPrint::cutLine(Console& console, int index) {
    // Only characters of the last line go: the count of line breaks stays.
    console.text[index] = '\0';
    console.textLength = index;
    if (console.inputStart > index) console.inputStart = index;
}

void TerminalPrint::eraseLine(Console& console) {
    int start = 0, cursor = 0;
    lineStartOfCursor(console, start, cursor);
    const int column = cursor - start + pad;
    if (start < console.length()) cutLine(console, start);
    behind = 0;
    pad = column;
}

void TerminalPrint::blankToCursor(Console& console) {
    int start = 0, cursor = 0;
    lineStartOfCursor(console, start, cursor);
    const int end = behind > 0 ? cursor + 1 : cursor;
    std::memset(console.text + start, ' ', static_cast<std::size_t>(end - start));
}

void TerminalPrint::clearDisplay(Console& console) {
    behind = 0;
    pad = 0;
    if (floor == 0) {
        console.clear();
        return;
    }
    // The typed text of the open input line stays, now at the front.
    const int from = std::max(0, std::min(console.inputStart, floor));
    std::memmove(console.text, console.text + from, static_cast<std::size_t>(floor - from));
    console.text[floor - from] = '\0';
    console.recount();
    console.inputStart = 0;
    floor -= from;
}
