#pragma once
// Turns the Windows line end CR LF into the console's single line break, for
// text that arrives in chunks: a CR at the end of a chunk waits for the next
// chunk to tell whether a LF follows it. A CR without a LF stays a character.
// Zero bytes are dropped, as a terminal ignores them: in the stream file one
// would end the console's text there.
#include <string>
#include <string_view>

class LineEndFilter {
public:
    // The converted text of one chunk; a trailing CR is held back.
    std::string feed(std::string_view chunk);
    // What is held back, at the end of the text.
    std::string finish();

private:
    bool heldReturn = false;
};
