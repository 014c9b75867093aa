// Process entry of the console.
#include "app/application.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return runApplication(instance); }
