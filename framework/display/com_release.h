#pragma once
// Releases a COM interface that may be absent and empties its field, so that
// a later release of the same field does nothing.

template <typename Interface>
void releaseInterface(Interface*& pointer) {
    if (pointer) {
        pointer->Release();
        pointer = nullptr;
    }
}
