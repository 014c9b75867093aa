// Keys and the client's requests, mixed with appends and wrapping, on one
// console. After every step the buffer is checked, and a model of the open
// input line (what was typed or printed into it since its start) is held
// against the console: Backspace never reaches the prompt, and Enter hands
// over exactly the modelled line. Every frame leaves at most 39 lines with
// the input line last, and cancel removes the whole prompt, whatever
// wrapping put in front of the typed text.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "bridge/bridge.h"
#include "bridge/bridge_requests.h"
#include "console/console.h"
#include "console/number_text.h"
#include "console/translate_key.h"
#include "fuzz_support.h"

namespace {

constexpr std::uint32_t KEY_BACK = 8;
constexpr std::uint32_t KEY_RETURN = 13;
constexpr std::uint32_t KEY_CAPITAL = 20;

// The open input line as the keys and appends made it. Invalid while the
// line is closed, and once capacity trimming may have cut into it.
struct LineModel {
    bool valid = false;
    std::string line;
    // Breaks wrapping put among the seven characters in front of the line
    // (the prompt, as a rule) or right in front of it: cancel removes them.
    int wrapBreaks = 0;

    void restart() {
        valid = true;
        line.clear();
        wrapBreaks = 0;
    }
    // Text appended to the buffer while the line is open becomes part of it,
    // unless the append overflows (the oldest characters go, possibly from
    // the line) or the line holds so many breaks that trimming reaches it.
    void appended(const std::string& added, std::size_t lengthBefore) {
        if (!valid) return;
        if (lengthBefore + added.size() > static_cast<std::size_t>(CONSOLE_CAPACITY)) {
            valid = false;
            return;
        }
        line += added;
        if (std::count(line.begin(), line.end(), '\n') > MAX_LINE_BREAKS) valid = false;
    }
};

struct Harness {
    Console* console = &freshConsole();
    LineModel model;
    const char* step = "start";
    // A request the client sends from within the next notification; zero for none.
    unsigned reply = 0;
    bool replied = false;

    // After a key whose notification brought a request of the client's: the
    // line is new when the request opened or emptied it, unknown otherwise.
    void afterReply(unsigned request) {
        const bool fresh = request == WM_BRIDGE_INPUT || request == WM_BRIDGE_PROMPT || request == WM_BRIDGE_CLEAR;
        if (console->inputOpen && fresh) {
            model.restart();
        } else {
            model.valid = false;
        }
    }

    std::string text() const { return console->text; }

    void fail(const char* what) const {
        std::fprintf(stderr, "buffer (%zu characters, input start %d, line %s):\n[%s]\nmodelled line (%s):\n[%s]\n",
                     std::strlen(console->text), console->inputStart, console->inputOpen ? "open" : "closed",
                     console->text, model.valid ? "valid" : "invalid", model.line.c_str());
        fuzzFail(what, step);
    }

    // The buffer after wrapping, computed independently; `lineOut` gets the
    // wrapped input line (a break in front of its first character stays with
    // the prompt).
    std::string referenceWrap(const std::string& old, int inputStart, std::string* lineOut, int* cutBreaks) const {
        const int width = console->wrapWidth;
        const std::size_t start = static_cast<std::size_t>(inputStart);
        const auto unchanged = [&] {
            if (lineOut) *lineOut = old.substr(std::min(start, old.size()));
            return old;
        };
        if (static_cast<int>(old.size()) < WRAP_MIN_LENGTH) return unchanged();
        // An open input line that would be broken inside gets its break in
        // front of it instead.
        int inputLength = 0;
        if (console->inputOpen && start < old.size()) {
            const std::size_t lineEnd = old.find('\n', start);
            inputLength = static_cast<int>((lineEnd == std::string::npos ? old.size() : lineEnd) - start);
        }
        std::string out;
        bool broke = false;
        int column = 0;
        for (std::size_t i = 0; i < old.size(); ++i) {
            if (i == start && column > 0 && column + inputLength >= width) {
                out += '\n';
                column = 0;
                broke = true;
                if (cutBreaks) ++*cutBreaks;
            }
            column = old[i] == '\n' ? 0 : column + 1;
            if (column >= width) {
                out += '\n';
                if (lineOut && i > start) *lineOut += '\n';
                column = 1;
                broke = true;
                const int cut = static_cast<int>(start) - PROMPT_CUT - model.wrapBreaks;
                if (cutBreaks && static_cast<int>(i) > cut && i <= start) ++*cutBreaks;
            }
            out += old[i];
            if (lineOut && i >= start) *lineOut += old[i];
        }
        return broke ? out : unchanged();
    }

    void checkModel() const {
        checkBuffer(*console, step);
        if (!model.valid) return;
        if (!console->inputOpen) fail("model valid with the line closed");
        const std::size_t length = std::strlen(console->text);
        const std::size_t start = static_cast<std::size_t>(console->inputStart);
        if (length - start != model.line.size() ||
            std::memcmp(console->text + start, model.line.data(), model.line.size()) != 0)
            fail("input line differs from what was typed");
    }

    // A frame (or wrapLines alone): the buffer wrapped as the reference says,
    // then trimmed to 39 lines, oldest first; the input line is the last
    // line and keeps what was typed, unless trimming reached it.
    void frame(const std::string& before, int start) {
        std::string line;
        int cutBreaks = 0;
        std::string expected = referenceWrap(before, start, model.valid ? &line : nullptr, &cutBreaks);
        const std::string after = text();
        if (std::count(after.begin(), after.end(), '\n') > MAX_LINE_BREAKS) fail("more than 39 lines after a frame");
        if (console->inputOpen && static_cast<std::size_t>(console->inputStart) > after.size())
            fail("input start past the end after a frame");
        if (expected.size() > static_cast<std::size_t>(CONSOLE_CAPACITY)) {
            model.valid = false;  // the capacity rule decides what goes
            return;
        }
        const std::size_t lineStart = expected.size() - line.size();
        std::size_t dropped = 0;
        for (auto breaks = std::count(expected.begin(), expected.end(), '\n'); breaks > MAX_LINE_BREAKS; --breaks)
            dropped = expected.find('\n', dropped) + 1;
        expected.erase(0, dropped);
        if (expected != after) {
            std::size_t at = 0;
            while (at < expected.size() && at < after.size() && expected[at] == after[at]) ++at;
            std::fprintf(stderr, "reference: %zu characters, buffer %zu, first difference at %zu, %zu dropped\n",
                         expected.size(), after.size(), at, dropped);
            std::fprintf(stderr, "reference there: [%s]\nbuffer there:    [%s]\n",
                         expected.substr(at > 4 ? at - 4 : 0, 140).c_str(),
                         after.substr(at > 4 ? at - 4 : 0, 140).c_str());
            fail("frame: buffer differs from the wrapped and trimmed reference");
        }
        if (!model.valid) return;
        if (dropped > lineStart) {
            model.valid = false;  // trimming cut into the typed line
            return;
        }
        model.line = line;
        model.wrapBreaks += cutBreaks;
        // The lowest line drawn is the end of the input line.
        const std::size_t lastBreak = after.rfind('\n');
        const std::string lowest = lastBreak == std::string::npos ? after : after.substr(lastBreak + 1);
        const std::size_t lineBreak = line.rfind('\n');
        const std::string lineEnd = lineBreak == std::string::npos ? line : line.substr(lineBreak + 1);
        if (lowest.size() < lineEnd.size() ||
            lowest.compare(lowest.size() - lineEnd.size(), lineEnd.size(), lineEnd) != 0)
            fail("the input line is not the lowest line");
        // Breaks put into the line count when a later append trims.
        if (std::count(line.begin(), line.end(), '\n') > MAX_LINE_BREAKS) model.valid = false;
    }

    void afterOpening() {
        if (console->inputOpen) {
            model.restart();
        } else {
            model.valid = false;
        }
    }

    void key(std::uint32_t code) {
        const bool wasOpen = console->inputOpen;
        const bool wasPaused = console->paused;
        const bool wasClientPause = console->clientPause;
        const bool wasClientInput = console->clientInput;
        const bool caps = console->capsLock;
        const std::string before = text();
        const int start = console->inputStart;
        const int notified = fuzzPlatform().notifications;
        const unsigned request = reply;
        replied = false;

        console->onKey(code);

        if (replied) {
            // The client's own request has changed the state; only the line
            // it was handed can still be checked.
            step = "key with a client reply";
            if (wasClientInput && code == KEY_RETURN && wasOpen && !wasPaused) checkHandedLine();
            afterReply(request);
            return;
        }

        if (wasPaused) {
            step = "key ending a pause";
            if (console->paused) fail("pause not ended");
            if (wasClientPause) {
                if (text() != before || console->inputOpen != wasOpen) fail("client pause key changed the console");
                if (fuzzPlatform().notifications != notified + 1) fail("client not told of the pause's end");
            } else {
                if (!console->inputOpen) fail("own pause did not open the line");
                model.restart();
            }
            return;
        }
        if (!wasOpen) {
            step = "key with the line closed";
            if (text() != before) fail("key changed a closed console");
            return;
        }

        const bool atLimit = static_cast<int>(before.size()) - start >= console->wrapWidth - INPUT_RESERVE;
        if (code == KEY_BACK) {
            step = "Backspace";
            if (console->inputStart != start) fail("Backspace moved the input start");
            if (std::strncmp(console->text, before.c_str(), static_cast<std::size_t>(start)) != 0 ||
                std::strlen(console->text) < static_cast<std::size_t>(start))
                fail("Backspace erased the prompt");
            if (model.valid && !model.line.empty()) model.line.pop_back();
        } else if (code == KEY_RETURN) {
            step = "Enter";
            if (wasClientInput) {
                if (console->inputOpen || console->clientInput) fail("Enter for the client left the line open");
                if (text() != before) fail("Enter for the client changed the buffer");
                if (fuzzPlatform().lastNotification != WM_BRIDGE_INPUT) fail("client not told of its line");
                checkHandedLine();
                model.valid = false;
            } else {
                afterOpening();  // the command's prompt, unless it paused
            }
        } else if (atLimit) {
            step = "key at the length limit";
            if (text() != before || console->capsLock != caps) fail("key beyond the limit was taken");
            if (model.valid && model.line.size() < static_cast<std::size_t>(console->wrapWidth - INPUT_RESERVE))
                fail("limit reached early");
        } else if (code == KEY_CAPITAL) {
            step = "Caps Lock";
            if (console->capsLock == caps) fail("Caps Lock did not toggle");
        } else {
            step = "typed key";
            const char c = translateKeyWithShift(code, caps, fuzzPlatform().shift);
            const bool ignored = code == 16 || code == 17 || code == 27 || (code >= 36 && code <= 40) || c == '\0';
            if (ignored) {
                if (text() != before) fail("an ignored key changed the buffer");
            } else {
                model.appended(std::string(1, c), before.size());
            }
        }
    }

    void checkHandedLine() const {
        std::ifstream in(STREAM_IN_PATH, std::ios::binary);
        std::stringstream handed;
        handed << in.rdbuf();
        if (model.valid && handed.str() != model.line) fail("client got other than what was typed");
    }

    void append(const std::string& added, std::size_t lengthBefore, bool wasOpen) {
        if (wasOpen) model.appended(added, lengthBefore);
    }
};

// A key code that never types '/', so that no typed file name leaves the
// scratch folder.
std::uint32_t safeCode(std::uint32_t code, bool caps, bool shift) {
    return translateKeyWithShift(code, caps, shift) == '/' ? 'A' : code;
}

std::string payload(FuzzedDataProvider& in, std::size_t most) {
    std::string text = in.ConsumeRandomLengthString(most);
    for (char& c : text)
        if (c == '/') c = '_';
    return text;
}

std::string untilZero(const std::string& text) { return text.substr(0, text.find('\0')); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    beginFuzzInput(1000);
    static const bool trace = std::getenv("KORVANE_FUZZ_TRACE") != nullptr;
    FuzzedDataProvider in(data, size);
    Harness h;
    Console& console = *h.console;
    console.showPrompt();
    h.model.restart();
    // One request per arming, sent from within the next notification.
    fuzzPlatform().onNotify = [&h](unsigned) {
        if (h.reply == 0) return;
        const unsigned request = h.reply;
        h.reply = 0;
        h.replied = true;
        handleBridgeRequest(*h.console, request);
    };

    while (in.remaining_bytes() > 0) {
        const bool wasOpen = console.inputOpen;
        const std::string before = console.text;
        const int start = console.inputStart;
        const int op = in.ConsumeIntegralInRange<int>(0, 19);
        h.step = "key";
        if (trace)
            std::fprintf(stderr, "op %d, line %s, length %zu, start %d\n", op, console.inputOpen ? "open" : "closed",
                         before.size(), start);
        switch (op) {
        case 0: h.key(safeCode(in.ConsumeIntegral<std::uint8_t>(), console.capsLock, fuzzPlatform().shift)); break;
        case 1: {  // a run of letters and blanks, to reach the length limit
            const int n = in.ConsumeIntegralInRange<int>(1, 120);
            for (int i = 0; i < n; ++i) h.key(i % 7 == 6 ? ' ' : 'A' + i % 26);
            break;
        }
        case 2: h.key(KEY_BACK); break;
        case 3: h.key(KEY_RETURN); break;
        case 4: h.key(KEY_CAPITAL); break;
        case 5:
            h.step = "Shift";
            fuzzPlatform().shift = !fuzzPlatform().shift;
            break;
        case 6:
            h.step = "input request";
            handleBridgeRequest(console, WM_BRIDGE_INPUT);
            if (!console.clientInput || !console.inputOpen || console.inputStart != console.length())
                h.fail("input request did not open a line at the end");
            h.model.restart();
            break;
        case 7: {
            h.step = "print request";
            std::string bytes = payload(in, 6000);
            if (in.ConsumeBool())
                bytes = std::string(in.ConsumeIntegralInRange<std::size_t>(0, 7000), bytes.empty() ? 'p' : bytes[0]) +
                        bytes;
            std::FILE* file = std::fopen(STREAM_OUT_PATH, "wb");
            if (!file) h.fail("cannot write the stream file");
            std::fwrite(bytes.data(), 1, bytes.size(), file);
            std::fclose(file);
            handleBridgeRequest(console, WM_BRIDGE_PRINT);
            h.append(untilZero(bytes), before.size(), wasOpen);
            break;
        }
        case 8:
            h.step = "prompt request";
            handleBridgeRequest(console, WM_BRIDGE_PROMPT);
            if (!console.inputOpen || console.inputStart != console.length()) h.fail("prompt did not open a line");
            h.model.restart();
            break;
        case 9:
            h.step = "cancel request";
            handleBridgeRequest(console, WM_BRIDGE_CANCEL);
            if (console.inputOpen) h.fail("cancel left the line open");
            if (wasOpen && h.model.valid) {
                // The typed line, the prompt's seven characters and the breaks
                // wrapping put among them go; everything before them stays.
                const int keep = std::max(start - h.model.wrapBreaks - PROMPT_CUT, 0);
                const std::size_t left = std::strlen(console.text);
                if (left > static_cast<std::size_t>(keep)) h.fail("cancel left a character of the prompt");
                if (left < static_cast<std::size_t>(keep) || before.compare(0, left, console.text) != 0)
                    h.fail("cancel cut into the text before the prompt");
            } else if (wasOpen) {
                const std::size_t cut = static_cast<std::size_t>(std::max(start - PROMPT_CUT, 0));
                if (std::strlen(console.text) > std::min(cut, before.size()) ||
                    before.compare(0, std::strlen(console.text), console.text) != 0)
                    h.fail("cancel cut the buffer elsewhere");
            } else if (before != console.text) {
                h.fail("cancel of a closed line changed the buffer");
            }
            h.model.valid = false;
            break;
        case 10:
            h.step = "clear request";
            handleBridgeRequest(console, WM_BRIDGE_CLEAR);
            if (console.text[0] != '\0' || console.inputOpen != wasOpen) h.fail("clear");
            if (wasOpen) h.model.restart();
            break;
        case 11:
            h.step = "pause request";
            handleBridgeRequest(console, WM_BRIDGE_PAUSE);
            if (!console.paused || !console.clientPause) h.fail("pause request did not pause");
            if (wasOpen && before != console.text) h.fail("pause printed into an open line");
            break;
        case 12: {
            h.step = "write";
            const std::string bytes = untilZero(payload(in, 6000));
            console.write(bytes.c_str());
            h.append(bytes, before.size(), wasOpen);
            break;
        }
        case 13: {
            h.step = "write of a long run";
            const std::size_t n = in.ConsumeIntegralInRange<std::size_t>(0, 12000);
            const char c = static_cast<char>(in.ConsumeIntegralInRange<int>(1, 127));
            const std::string bytes(n, c == '/' ? '_' : c);
            console.write(bytes.c_str());
            h.append(bytes, before.size(), wasOpen);
            break;
        }
        case 14:
            h.step = "wrapLines";
            console.wrapLines();
            h.frame(before, start);
            break;
        case 15:
            h.step = "printf";
            console.printf("%s", untilZero(payload(in, 300)).c_str());
            if (wasOpen && before != console.text) h.fail("printf printed into an open line");
            break;
        case 16: {
            h.step = "insertion";
            std::string added;
            switch (in.ConsumeIntegralInRange<int>(0, 4)) {
            case 0: {
                const int v = in.ConsumeIntegral<int>();
                console << v;
                added = std::to_string(v);
                break;
            }
            case 1: {
                char c = static_cast<char>(in.ConsumeIntegral<std::uint8_t>());
                if (c == '/') c = '_';
                console << c;
                if (c != '\0') added = std::string(1, c);
                break;
            }
            case 2: {
                const short v = in.ConsumeIntegral<short>();
                console << v;
                added = std::to_string(v);
                break;
            }
            case 3: {
                const long v = in.ConsumeIntegral<long>();
                console << v;
                added = std::to_string(static_cast<std::int32_t>(static_cast<std::uint32_t>(v)));
                break;
            }
            default: {
                const double v = in.ConsumeFloatingPoint<double>();
                console << v;
                char digits[32];
                formatDouble(v, digits, sizeof digits);
                added = digits;
                for (char& c : added)
                    if (c == '/') h.fail("a number with a slash");
                break;
            }
            }
            h.append(added, before.size(), wasOpen);
            break;
        }
        case 17: {
            h.step = "typed command";
            const std::string line = untilZero(payload(in, 40));
            for (char c : line)
                h.key(c >= 'a' && c <= 'z'
                          ? static_cast<std::uint32_t>(c - 'a' + 'A')
                          : safeCode(static_cast<unsigned char>(c), console.capsLock, fuzzPlatform().shift));
            h.key(KEY_RETURN);
            break;
        }
        case 18: {
            h.step = "client reply";
            constexpr unsigned REPLIES[] = {0,
                                            WM_BRIDGE_INPUT,
                                            WM_BRIDGE_PRINT,
                                            WM_BRIDGE_PROMPT,
                                            WM_BRIDGE_CANCEL,
                                            WM_BRIDGE_CLEAR,
                                            WM_BRIDGE_PAUSE};
            h.reply = REPLIES[in.ConsumeIntegralInRange<std::size_t>(0, std::size(REPLIES) - 1)];
            break;
        }
        default:
            h.step = "render";
            console.render();
            h.frame(before, start);
            break;
        }
        h.checkModel();
    }
    fuzzPlatform().onNotify = nullptr;
    endFuzzInput();
    return 0;
}
