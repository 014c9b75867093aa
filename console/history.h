#pragma once
// The lines that trimming drops off the top of the buffer, kept as the screen
// showed them (broken at the wrap width). A ring of fixed slots in one
// allocation: the oldest line goes when it is full. Lines are numbered from
// the first ever added, so a number keeps naming the same line while newer
// ones arrive; the buffer's first line is number `added()`.
#include <cstddef>
#include <cstdint>

inline constexpr int HISTORY_LINES = 10000;
inline constexpr int HISTORY_SLOT = 128;                   // a length byte and the characters
inline constexpr int HISTORY_LINE_MAX = HISTORY_SLOT - 1;  // characters kept of one shown line

class History {
public:
    History() = default;
    ~History() { release(); }
    History(const History&) = delete;
    History& operator=(const History&) = delete;

    // The one allocation, about 1.3 MB; false when memory is refused, and the
    // history then keeps nothing.
    bool reserve();
    void release();
    void clear();

    // Text as it left the buffer: lines ending in "\n". Each line is kept
    // in pieces of wrapWidth - 1 characters, as wrapping shows it. A last
    // line without its break stays open: the next text goes on with it.
    void addText(const char* text, std::size_t n, int wrapWidth);

    int count() const { return used; }
    std::uint64_t added() const { return total; }
    std::uint64_t oldest() const { return total - static_cast<std::uint64_t>(used); }
    // The line with that number; null when it is not kept.
    const char* line(std::uint64_t number, int& length) const;

private:
    void addLine(const char* chars, int n);

    char* slots = nullptr;
    int first = 0;  // slot of the oldest line
    int used = 0;
    std::uint64_t total = 0;
    bool open = false;  // the newest line has not ended yet
};
