#pragma once
// The steps of a client script. A step is a word, optionally followed by "="
// and an argument; texts take the escapes \n \r \t \0 and \\. Each step
// reports what it read or measured on standard output.
#include <string>

#include "client/bridge_client.h"
#include "client/console_process.h"

// What the steps of one run share: the client and, after "start", the
// console process it started.
struct ClientSession {
    BridgeClient client;
    ConsoleProcess console;
};

// Runs one step; false, with a reason in `error`, when it failed.
bool runStep(ClientSession& session, const std::string& step, std::string& error);

// Decodes the escapes of a step argument.
std::string unescape(const std::string& text);

// The list of steps, for --help.
const char* stepUsage();
