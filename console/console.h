#pragma once
// The console: one zero-terminated text buffer that grows at its end, the
// colours and font it is drawn in, and the flags of the input line and of the
// pause. Output operations, the line editor and the interpreter are members;
// drawing lives in app/console_render.cpp, the commands under commands/.
#include <cstddef>
#include <cstdint>

#include "console/color_ref.h"
#include "console/drawable.h"
#include "console/font_handle.h"
#include "console/history.h"
#include "console/paste_text.h"
#include "console/scroll_view.h"

inline constexpr int CONSOLE_BUFFER_SIZE = 5000;
inline constexpr int CONSOLE_CAPACITY = CONSOLE_BUFFER_SIZE - 1;  // characters, without the terminator
inline constexpr int MAX_LINE_BREAKS = 38;                        // at most 39 lines
inline constexpr int DEFAULT_WRAP_WIDTH = 120;
inline constexpr int WRAP_MIN_LENGTH = 119;  // shorter buffers are never wrapped
inline constexpr int INPUT_RESERVE = 15;     // wrapWidth - 15 characters can be typed
inline constexpr ColorRef DEFAULT_BACK_COLOR = 0x000000;
inline constexpr ColorRef DEFAULT_TEXT_COLOR = 0x00C800;

inline constexpr char PROMPT_TEXT[] = "\ncmd=)> ";
inline constexpr char PAUSE_END_PROMPT_TEXT[] = "\ncmd=)>";
inline constexpr char PAUSE_TEXT[] = "\n Press any key to continue ...";
inline constexpr int PROMPT_CUT = 7;  // length of "cmd=)>" plus one
// What a command prints when a temporary copy it needs cannot be made.
inline constexpr char OUT_OF_MEMORY_TEXT[] = "\n[error] - not enough memory";

class Console : public Drawable {
public:
    char text[CONSOLE_BUFFER_SIZE];
    ColorRef backColor;
    ColorRef textColor;
    FontHandle font;
    bool capsLock;
    std::int32_t wrapWidth;
    bool inputOpen;
    bool paused;
    bool batchMode;
    std::int32_t inputStart;
    char* commandLine;
    bool clientInput;
    bool clientPause;
    std::int32_t batchDepth;  // batch files running inside each other
    // Kept up to date by every edit of `text` made here, so that no append
    // rescans the buffer. A direct write into `text` that changes its length
    // is noticed; one that keeps the length is followed by recount().
    std::int32_t textLength;
    std::int32_t lineBreaks;
    // Breaks that wrapping put between the prompt and the typed text since
    // the input line opened; cancelInput removes them with the prompt.
    std::int32_t inputWrapBreaks;
    // What scrolled off the top, where the view looks, the selection and
    // the paste still to be typed (scrollback.cpp).
    History history;
    ScrollView view;
    Selection selection;
    PasteQueue paste;
    bool pasteStopped;  // a pasted line did not fit the input line: the rest was dropped

    // Output (console.cpp, console_insert.cpp, line_layout.cpp)
    void load() override;
    void render() override;
    void setBackColor(ColorRef color);
    void setTextColor(ColorRef color);
    void setFont(FontHandle handle);
    void write(const char* string);
    void printf(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    Console& operator<<(const char* string);
    Console& operator<<(int value);
    Console& operator<<(char value);
    Console& operator<<(long value);
    Console& operator<<(double value);
    Console& operator<<(short value);
    void clear();
    void beginInput();
    void cancelInput();
    void showPrompt();
    void pause();
    void trimLines();
    void wrapLines();

    // Line editor (line_editor.cpp)
    void onKey(std::uint32_t key);
    void editKey(std::uint32_t key);

    // Scrollback and paste (scrollback.cpp)
    ShownText shown() const { return ShownText(history, text, length()); }
    // Shift+Page Up/Down/Home/End move the view; true when the key did.
    bool viewKey(std::uint32_t key, bool shift);
    void scrollView(int lines);
    void clearHistory();
    void startPaste(const char* chars, std::size_t n);
    // Types the next pasted line once the input line is open; true when a
    // line went in (or the paste stopped), false while it waits.
    bool typePastedLine();

    // Interpreter (commands/)
    void execute(char* line);
    void runCommand(char** words, int count);
    static int lookupCommand(const char* word);
    static ColorRef lookupColor(const char* name);
    void executeScript(char* script);

    // Length of the buffer's text.
    int length() const { return countsValid() ? textLength : scanLength(); }
    // Takes the length and line breaks from `text` again, after a direct write.
    void recount();

    // Appends n characters; the buffer keeps the newest text when they do not
    // fit (oldest lines first, then the oldest characters of one long line).
    // Does not trim lines. Linear in n.
    void append(const char* chars, std::size_t n);

private:
    bool countsValid() const {
        return textLength >= 0 && textLength <= CONSOLE_CAPACITY && text[textLength] == '\0' &&
               (textLength == 0 || text[textLength - 1] != '\0');
    }
    int scanLength() const;
    void settle() {
        if (!countsValid()) recount();
    }
    void dropLines(int n, int breaks);
    void cutAt(int index);
    void wrapInPlace();
};
