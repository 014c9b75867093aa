// The history ring: fixed slots, so adding a line is one copy and finding
// one by its number is arithmetic, however far back it lies.
#include "console/history.h"

#include <cstring>
#include <new>

bool History::reserve() {
    if (!slots) slots = new (std::nothrow) char[static_cast<std::size_t>(HISTORY_LINES) * HISTORY_SLOT];
    clear();
    return slots != nullptr;
}

void History::release() {
    delete[] slots;
    slots = nullptr;
    clear();
}

void History::clear() {
    first = 0;
    used = 0;
    total = 0;
    open = false;
}

void History::addLine(const char* chars, int n) {
    if (!slots) return;
    int slot = first + used;
    if (used == HISTORY_LINES) {
        slot = first;
        first = (first + 1) % HISTORY_LINES;
    } else {
        ++used;
    }
    char* place = slots + static_cast<std::size_t>(slot % HISTORY_LINES) * HISTORY_SLOT;
    if (n > HISTORY_LINE_MAX) n = HISTORY_LINE_MAX;
    place[0] = static_cast<char>(n);
    std::memcpy(place + 1, chars, static_cast<std::size_t>(n));
    ++total;
}

void History::addText(const char* text, std::size_t n, int wrapWidth) {
    if (!slots) return;
    int piece = wrapWidth - 1;
    if (piece < 1 || piece > HISTORY_LINE_MAX) piece = HISTORY_LINE_MAX;
    const char* end = text + n;
    while (text < end) {
        const void* hit = std::memchr(text, '\n', static_cast<std::size_t>(end - text));
        const char* lineEnd = hit ? static_cast<const char*>(hit) : end;
        const char* p = text;
        // A line left open by the last text goes on where it stopped.
        const bool continuing = open && used > 0;
        if (continuing) {
            char* last = slots + static_cast<std::size_t>((first + used - 1) % HISTORY_LINES) * HISTORY_SLOT;
            const int have = static_cast<unsigned char>(last[0]);
            const int room = piece > have ? piece - have : 0;
            const int take = lineEnd - p > room ? room : static_cast<int>(lineEnd - p);
            std::memcpy(last + 1 + have, p, static_cast<std::size_t>(take));
            last[0] = static_cast<char>(have + take);
            p += take;
        }
        if (!continuing || p < lineEnd) {
            do {
                const int take = lineEnd - p > piece ? piece : static_cast<int>(lineEnd - p);
                addLine(p, take);
                p += take;
            } while (p < lineEnd);
        }
        open = hit == nullptr;
        text = hit ? lineEnd + 1 : end;
    }
}

const char* History::line(std::uint64_t number, int& length) const {
    length = 0;
    if (!slots || number < oldest() || number >= total) return nullptr;
    const int slot = (first + static_cast<int>(number - oldest())) % HISTORY_LINES;
    const char* place = slots + static_cast<std::size_t>(slot) * HISTORY_SLOT;
    length = static_cast<unsigned char>(place[0]);
    return place + 1;
}
