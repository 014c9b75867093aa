// Display::loadSound: a Sound made with the Display's DirectSound object.
#include "framework/display/display.h"
#include "framework/sound/sound.h"

bool Display::loadSound(Sound& sound, const char* name) {
    return sound.load(directSound, name);
}
