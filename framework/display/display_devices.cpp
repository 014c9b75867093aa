// Sound and keyboard devices of the Display. Neither may stop the opening:
// without sound, soundAvailable stays false; without a keyboard device,
// `keyboard` stays null and its readers find nothing pressed.
#include "framework/display/com_release.h"
#include "framework/display/display.h"

bool soundAvailable = false;
std::uint32_t directSoundGeneration = 0;

bool Display::initSound() {
    if (FAILED(DirectSoundCreate(nullptr, &directSound, nullptr))) {
        directSound = nullptr;
        return false;
    }
    HWND cooperationWindow = GetForegroundWindow();
    if (!cooperationWindow) {
        cooperationWindow = GetDesktopWindow();
    }
    if (FAILED(directSound->SetCooperativeLevel(cooperationWindow, DSSCL_PRIORITY))) {
        releaseInterface(directSound);
        return false;
    }

    DSBUFFERDESC1 description;
    ZeroMemory(&description, sizeof description);
    description.dwSize = sizeof description;
    description.dwFlags = DSBCAPS_PRIMARYBUFFER;
    IDirectSoundBuffer* primaryBuffer = nullptr;
    if (FAILED(directSound->CreateSoundBuffer(reinterpret_cast<DSBUFFERDESC*>(&description),
                                              &primaryBuffer, nullptr))) {
        releaseInterface(directSound);
        return false;
    }
    // Kept by the DirectSound object for its whole life; not released alone.
    primaryBuffer->Play(0, 0, DSBPLAY_LOOPING);
    return true;
}

void Display::initKeyboard() {
    if (FAILED(DirectInputCreateA(GetModuleHandleA(nullptr), DIRECTINPUT_VERSION, &directInput,
                                  nullptr))) {
        directInput = nullptr;
        return;
    }
    if (FAILED(directInput->CreateDevice(GUID_SysKeyboard, &keyboard, nullptr))) {
        keyboard = nullptr;
        return;
    }
    // A device without the keyboard format cannot be read; drop it.
    if (FAILED(keyboard->SetDataFormat(&c_dfDIKeyboard))) {
        releaseInterface(keyboard);
        return;
    }
    // May fail while another window has the foreground; the readers cope.
    keyboard->SetCooperativeLevel(window, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND);
    keyboard->Acquire();
}

void Display::releaseDevices() {
    if (keyboard) {
        keyboard->Unacquire();
        releaseInterface(keyboard);
    }
    releaseInterface(directInput);
    if (directSound) {
        releaseInterface(directSound);
        // Its buffers went with it: no Sound may call them again, also after
        // a later open makes sound available once more.
        soundAvailable = false;
        ++directSoundGeneration;
    }
}
