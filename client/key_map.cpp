#include "client/key_map.h"

unsigned keyForCharacter(char c) {
    if (c >= 'a' && c <= 'z') return static_cast<unsigned>(c - 'a' + 'A');
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned>(c);
    if (c >= '0' && c <= '9') return static_cast<unsigned>(c);
    switch (c) {
    case ' ': return 32;
    case '\t': return 9;
    case '`': return 96;  // keypad 0
    case ';': return 186;
    case '=': return 187;
    case ',': return 188;
    case '-': return 189;
    case '.': return 190;
    case '/': return 191;
    case '[': return 219;
    case '\\': return 220;
    case ']': return 221;
    case '\'': return 222;
    default: return 0;
    }
}

unsigned shiftedKeyForCharacter(char c) {
    switch (c) {
    case ')': return '0';
    case '!': return '1';
    case '@': return '2';
    case '#': return '3';
    case '$': return '4';
    case '%': return '5';
    case '^': return '6';
    case '&': return '7';
    case '*': return '8';
    case '(': return '9';
    case ':': return 186;
    case '+': return 187;
    case '<': return 188;
    case '_': return 189;
    case '>': return 190;
    case '?': return 191;
    case '{': return 219;
    case '}': return 221;
    case '"': return 222;
    default: return 0;
    }
}
