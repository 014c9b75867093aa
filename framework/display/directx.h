#pragma once
// The DirectX headers as the framework uses them: DirectDraw's first
// interfaces, DirectInput 7 (ANSI) and DirectSound. Platform files only.
#ifndef DIRECTINPUT_VERSION
#define DIRECTINPUT_VERSION 0x0700
#endif
#include <windows.h>
#include <ddraw.h>
#include <dinput.h>
#include <dsound.h>
