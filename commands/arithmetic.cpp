// add, sub, mul, div: 32-bit integers that wrap around like the machine's.
#include <cstdint>
#include <limits>

#include "commands/commands.h"
#include "commands/number_word.h"
#include "console/console.h"

namespace {

std::int32_t wrapped(std::int64_t value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
}

// Runs one binary operation after its word rule; false when the rule failed.
bool readOperands(Console& console, char** words, int count, const char* name, std::int32_t& a, std::int32_t& b) {
    if (count != 3) {
        console.printf("\n [syntax error] - the %s command must take two numeric arguments ", name);
        return false;
    }
    a = numberWord(words[1]);
    b = numberWord(words[2]);
    return true;
}

}  // namespace

void commandAdd(Console& console, char** words, int count) {
    std::int32_t a, b;
    if (readOperands(console, words, count, "add", a, b))
        console.printf("\n %i + %i = %i", a, b, wrapped(std::int64_t{a} + b));
}

void commandSub(Console& console, char** words, int count) {
    std::int32_t a, b;
    if (readOperands(console, words, count, "sub", a, b))
        console.printf("\n %i - %i = %i", a, b, wrapped(std::int64_t{a} - b));
}

void commandMul(Console& console, char** words, int count) {
    std::int32_t a, b;
    if (readOperands(console, words, count, "mul", a, b))
        console.printf("\n %i * %i = %i", a, b, wrapped(std::int64_t{a} * b));
}

void commandDiv(Console& console, char** words, int count) {
    std::int32_t a, b;
    if (!readOperands(console, words, count, "div", a, b)) return;
    if (b == 0) {
        console.printf("\n [syntax error] - the div commad cannot divide by zero ");
        return;
    }
    // The one quotient that does not fit, INT32_MIN / -1, wraps to INT32_MIN.
    console.printf("\n %i / %i = %i", a, b, wrapped(std::int64_t{a} / b));
}
