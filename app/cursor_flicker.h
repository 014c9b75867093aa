#pragma once
// The cursor "_" after the open input line flickers at random: shown at about
// four decisions in ten. It is decided a few times a second on a timer, not
// at every frame, so that a console waiting for keys draws a frame only when
// the cursor comes or goes (frames driven by change).

// Starts the decisions; the display's window must exist. Call once.
void startCursorFlicker();

// One decision, as the timer takes it: true when the cursor came or went.
bool decideCursor();

// Whether a frame that draws the input line draws the cursor now, as the last
// decision said; false when the line is closed. The frame tells whether the
// line is open, so that a decision asks for a frame only while it would show.
bool cursorShown(bool inputOpen);
