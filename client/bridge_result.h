#pragma once
// The outcome of a client call: success or one of the ways the bridge can
// fail, each with a message fit for a user. A value, never an exception.

enum class BridgeError {
    none,
    noConsole,     // no window of class and title Korvane
    noAnswer,      // the console's window did not handle a request in time
    timedOut,      // a wait for the console's notification ran out
    consoleGone,   // the console's window went away
    streamOut,     // c:\stream.o could not be written
    streamIn,      // c:\stream.i could not be read
    clientWindow,  // the client's own window could not be made
    interrupted,   // the user pressed Ctrl+C in the console while we waited
    cancelled,     // another client cancelled the line we waited for
    execRunning,   // an exec of ours runs: the console's input is its own
};

// One line, without a line end.
const char* bridgeErrorMessage(BridgeError error);

class BridgeResult {
public:
    constexpr BridgeResult() = default;
    constexpr BridgeResult(BridgeError error) : code(error) {}  // NOLINT: a result is made from its error

    explicit operator bool() const { return code == BridgeError::none; }
    BridgeError error() const { return code; }
    const char* message() const { return bridgeErrorMessage(code); }

private:
    BridgeError code = BridgeError::none;
};
