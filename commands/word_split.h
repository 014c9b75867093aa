#pragma once
// Cuts a line into words in place at spaces (only the space separates;
// leading, trailing and repeated spaces give no empty words). At most
// maxWords words are stored; the rest of the line is ignored. Returns the
// number stored.
int splitWords(char* line, char** words, int maxWords);
