#pragma once
// Times a bridge print of a large stream file against reading the same file.
class BridgeClient;

// Writes `megabytes` MB of text lines to the stream file, reads it back once
// (the reference) and has the console print it once; prints both figures.
bool measurePrint(BridgeClient& client, unsigned megabytes);
