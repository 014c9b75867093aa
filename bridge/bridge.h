#pragma once
// The stream bridge between the console and its client application: six
// window messages and two files at fixed paths. Messages carry no data.

inline constexpr unsigned WM_BRIDGE_INPUT = 1029;   // WM_USER+5: read a line / the line is ready
inline constexpr unsigned WM_BRIDGE_PRINT = 1030;   // WM_USER+6: print STREAM_OUT_PATH
inline constexpr unsigned WM_BRIDGE_PROMPT = 1031;  // WM_USER+7: show the command prompt
inline constexpr unsigned WM_BRIDGE_CANCEL = 1032;  // WM_USER+8: close the input line, drop the prompt
inline constexpr unsigned WM_BRIDGE_CLEAR = 1033;   // WM_USER+9: clear the buffer
inline constexpr unsigned WM_BRIDGE_PAUSE = 1034;   // WM_USER+10: pause for a key / the pause ended
// WM_USER+11, console -> client only: Ctrl+C while the client waits for a line.
// A client that does not know it leaves it to DefWindowProc.
inline constexpr unsigned WM_BRIDGE_INTERRUPT = 1035;

// WM_BRIDGE_PRINT's wParam is a set of flags; 0 is the plain print, byte for
// byte. Each flag is tested alone, so a print may carry several.
// BRIDGE_PRINT_TERMINAL: the text is a terminal's output. CR returns to the
// line's start, BS and TAB move, erase in line and display and cursor forward
// act, every other escape sequence and control is dropped, a zero byte is
// ignored rather than ending the text, and a sequence cut off at the end of
// one print is completed by the next (console/terminal_print.h).
inline constexpr unsigned BRIDGE_PRINT_TERMINAL = 1;
// BRIDGE_PRINT_ABOVE_INPUT: while a line is open, the text goes in whole above
// the line (its prompt and what was typed), which moves down below it.
inline constexpr unsigned BRIDGE_PRINT_ABOVE_INPUT = 2;

inline constexpr char STREAM_OUT_PATH[] = "c:\\stream.o";  // client -> console: text to print
inline constexpr char STREAM_IN_PATH[] = "c:\\stream.i";   // console -> client: the typed line

inline constexpr char CONSOLE_WINDOW_CLASS[] = "Korvane";     // class and title of the console's window
inline constexpr char CLIENT_WINDOW_CLASS[] = "korvane_app";  // class of the client's top-level window
