#include "app/winsock_startup.h"

#include <winsock.h>

void startWinsock() {
    WSADATA data;
    if (WSAStartup(0x0101, &data) != 0) {
        MessageBoxA(nullptr, "Error Couldnt Init Winsock!", "Aborting", MB_ICONINFORMATION);
        // Still pending when the frame loop starts, so the program ends at once.
        PostQuitMessage(0);
        return;
    }
    if (LOBYTE(data.wVersion) != 1 || HIBYTE(data.wVersion) != 1) WSACleanup();
}

void stopWinsock() { WSACleanup(); }
