#pragma once
// The steps of a client script. A step is a word, optionally followed by "="
// and an argument; texts take the escapes \n \r \t \0 and \\. Each step
// reports what it read or measured on standard output.
#include <string>

class BridgeClient;

// Runs one step; false, with a reason in `error`, when it failed.
bool runStep(BridgeClient& client, const std::string& step, std::string& error);

// Decodes the escapes of a step argument.
std::string unescape(const std::string& text);

// The list of steps, for --help.
const char* stepUsage();
