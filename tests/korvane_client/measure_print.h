#pragma once
// Times a bridge print of a large stream file against reading the same file.
class BridgeClient;

// Writes `megabytes` MB of text lines to the stream file, then three times
// reads it back (the reference) and has the console print it; prints both
// figures of each round.
bool measurePrint(BridgeClient& client, unsigned megabytes);
