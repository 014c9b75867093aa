// The text helpers, the word split and the number conversions, each held
// against a plain reference built from the standard library.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "commands/command_table.h"
#include "commands/number_word.h"
#include "commands/time_text.h"
#include "commands/word_split.h"
#include "console/number_text.h"
#include "console/text_helpers.h"
#include "console/translate_key.h"
#include "fuzz_support.h"

namespace {

void check(bool ok, const char* what) {
    if (!ok) fuzzFail(what, "text helpers");
}

void checkFindText(const std::string& text, const std::string& pattern, int start) {
    int expected = -1;
    if (!pattern.empty() && start >= 0 && static_cast<std::size_t>(start) < text.size()) {
        const std::size_t hit = text.find(pattern, static_cast<std::size_t>(start));
        if (hit != std::string::npos) expected = static_cast<int>(hit);
    }
    check(findText(text.c_str(), pattern.c_str(), start) == expected, "findText");
}

void checkCopies(const std::string& text, int start, int end) {
    // Exactly sized buffers, so that one byte too many is caught by ASan.
    const std::size_t length = text.size();
    const std::size_t from = start < 0 ? 0 : static_cast<std::size_t>(start);
    const std::size_t to = end < 0 ? 0 : std::min(static_cast<std::size_t>(end), length);
    const std::string range = to > from ? text.substr(from, to - from) : std::string();
    std::vector<char> buffer(range.size() + 1);
    copyRange(text.c_str(), buffer.data(), start, end);
    check(range == buffer.data(), "copyRange");

    const std::string tail = from < length ? text.substr(from) : std::string();
    std::vector<char> tailBuffer(tail.size() + 1);
    copyTail(text.c_str(), tailBuffer.data(), start);
    check(tail == tailBuffer.data(), "copyTail");
}

void checkSplit(const std::string& line, int maxWords) {
    std::vector<std::string> expected;
    std::size_t i = 0;
    while (static_cast<int>(expected.size()) < maxWords) {
        i = line.find_first_not_of(' ', i);
        if (i == std::string::npos) break;
        const std::size_t end = line.find(' ', i);
        expected.push_back(line.substr(i, end == std::string::npos ? std::string::npos : end - i));
        if (end == std::string::npos) break;
        i = end + 1;
    }
    std::vector<char> copy(line.begin(), line.end());
    copy.push_back('\0');
    std::vector<char*> words(static_cast<std::size_t>(maxWords) + 1);
    const int count = splitWords(copy.data(), words.data(), maxWords);
    check(count == static_cast<int>(expected.size()), "splitWords count");
    for (int w = 0; w < count; ++w)
        check(expected[static_cast<std::size_t>(w)] == words[static_cast<std::size_t>(w)], "splitWords word");
}

void checkNumber(const std::string& word) {
    // strtoll reads the same prefix; a 32-bit atol saturates beyond the range.
    long long value = std::strtoll(word.c_str(), nullptr, 10);
    if (value > std::numeric_limits<std::int32_t>::max()) value = std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min()) value = std::numeric_limits<std::int32_t>::min();
    check(numberWord(word.c_str()) == value, "numberWord");
}

void checkIsNumber(const std::string& text) {
    const bool expected = text.find_first_not_of("0123456789") == std::string::npos;
    check(isNumber(text.c_str()) == expected, "isNumber");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string text = in.ConsumeRandomLengthString(2000);
    const std::string pattern = in.ConsumeRandomLengthString(16);
    const int start = in.ConsumeIntegralInRange<int>(-4, static_cast<int>(text.size()) + 4);
    const int end = in.ConsumeIntegralInRange<int>(-4, static_cast<int>(text.size()) + 4);
    // The helpers see texts up to their first zero byte.
    const std::string cText = text.substr(0, text.find('\0'));
    const std::string cPattern = pattern.substr(0, pattern.find('\0'));

    checkFindText(cText, cPattern, start);
    checkCopies(cText, start, end);
    checkSplit(cText, in.ConsumeIntegralInRange<int>(1, MAX_WORDS));
    checkNumber(cText.substr(0, 40));
    checkIsNumber(cPattern);

    const std::uint32_t code = in.ConsumeIntegral<std::uint32_t>();
    const bool caps = in.ConsumeBool();
    const char plain = translateKeyWithShift(code, caps, false);
    const char shifted = translateKeyWithShift(code, caps, true);
    // Caps Lock only swaps the case of letters; it never changes anything else.
    check(translateKeyWithShift(code, !caps, false) == plain || ((plain | 0x20) >= 'a' && (plain | 0x20) <= 'z'),
          "translateKey caps");
    (void)shifted;

    char digits[32];
    formatDouble(in.ConsumeFloatingPoint<double>(), digits, sizeof digits);
    check(std::strlen(digits) < sizeof digits, "formatDouble");

    std::tm time{};
    time.tm_wday = in.ConsumeIntegral<int>();
    time.tm_mon = in.ConsumeIntegral<int>();
    time.tm_mday = in.ConsumeIntegral<int>();
    time.tm_hour = in.ConsumeIntegral<int>();
    time.tm_min = in.ConsumeIntegral<int>();
    time.tm_sec = in.ConsumeIntegral<int>();
    time.tm_year = in.ConsumeIntegral<int>();
    char timeText[TIME_TEXT_SIZE];
    formatTimeText(time, timeText);
    check(std::strlen(timeText) == TIME_TEXT_SIZE - 1 && timeText[TIME_TEXT_SIZE - 2] == '\n', "formatTimeText");
    return 0;
}
