#pragma once
// Builds a Windows command line from separate arguments, quoted so that the
// C runtime's parser (and CommandLineToArgvW) gives back exactly the same
// arguments.
#include <string>
#include <vector>

std::string quoteArgument(const std::string& argument);
std::string joinCommandLine(const std::vector<std::string>& arguments);
