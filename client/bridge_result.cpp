#include "client/bridge_result.h"

const char* bridgeErrorMessage(BridgeError error) {
    switch (error) {
    case BridgeError::none: return "success";
    case BridgeError::noConsole: return "no Korvane console is running (no window of class and title Korvane)";
    case BridgeError::noAnswer: return "the Korvane console does not answer";
    case BridgeError::timedOut: return "the wait for the console or for another client timed out";
    case BridgeError::consoleGone: return "the Korvane console went away";
    case BridgeError::streamOut: return "cannot write the stream file c:\\stream.o";
    case BridgeError::streamIn: return "cannot read the stream file c:\\stream.i";
    case BridgeError::clientWindow: return "cannot create the client window (class korvane_app)";
    case BridgeError::interrupted: return "stopped with Ctrl+C in the console";
    case BridgeError::cancelled: return "another client cancelled the line";
    case BridgeError::execRunning: return "the console's input belongs to the running exec";
    }
    return "unknown error";
}
