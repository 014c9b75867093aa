#include "client/typed_line.h"

std::string withoutPrintedText(const std::string& line, const std::string& printed) {
    if (printed.empty()) return line;
    const std::size_t at = line.rfind(printed);
    if (at == std::string::npos) return line;
    return line.substr(0, at) + line.substr(at + printed.size());
}
