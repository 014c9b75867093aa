#pragma once
// Pasted text waiting to be typed, one line at a time. Line breaks (CR LF,
// LF or CR) end lines and are typed as Enter; a tab is typed as a space;
// every other control byte is dropped. Bytes from 128 up are characters of
// the code page and pass unchanged.
#include <cstddef>
#include <vector>

class PasteQueue {
public:
    // Queues the text behind whatever still waits.
    void start(const char* text, std::size_t n);
    bool pending() const { return position < chars.size(); }
    void drop();
    // The next line: its characters and whether a break ends it.
    void next(const char*& line, int& length, bool& enter) const;
    void pop();

private:
    std::vector<char> chars;  // the cleaned text, "\n" ending each line
    std::size_t position = 0;
};
