#include "fake_surface.h"

FakeSurface::FakeSurface() {
    HDC screenDc = ::GetDC(nullptr);
    dc = CreateCompatibleDC(screenDc);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 640;
    info.bmiHeader.biHeight = -480;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap = CreateDIBSection(screenDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ::ReleaseDC(nullptr, screenDc);
    originalBitmap = SelectObject(dc, bitmap);
}

FakeSurface::~FakeSurface() {
    SelectObject(dc, originalBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

HRESULT FakeSurface::QueryInterface(REFIID, void**) { return E_NOINTERFACE; }
ULONG FakeSurface::AddRef() { return 1; }
ULONG FakeSurface::Release() {
    ++releases;
    return 0;
}

HRESULT FakeSurface::Blt(LPRECT, LPDIRECTDRAWSURFACE, LPRECT, DWORD flags, LPDDBLTFX fx) {
    if ((flags & DDBLT_COLORFILL) && fx) {
        ++colorFills;
        lastFillColor = fx->dwFillColor;
    }
    return DD_OK;
}

HRESULT FakeSurface::Flip(LPDIRECTDRAWSURFACE, DWORD) {
    ++flips;
    if (flipResults.empty()) {
        return DD_OK;
    }
    HRESULT result = flipResults.front();
    flipResults.pop_front();
    return result;
}

HRESULT FakeSurface::GetDC(HDC* out) {
    ++getDcCalls;
    if (!giveDc) {
        return DDERR_SURFACELOST;
    }
    *out = dc;
    return DD_OK;
}

HRESULT FakeSurface::ReleaseDC(HDC) {
    ++releaseDcCalls;
    return DD_OK;
}

HRESULT FakeSurface::Restore() {
    ++restores;
    return DD_OK;
}

HRESULT FakeSurface::AddAttachedSurface(LPDIRECTDRAWSURFACE) { return E_NOTIMPL; }
HRESULT FakeSurface::AddOverlayDirtyRect(LPRECT) { return E_NOTIMPL; }
HRESULT FakeSurface::BltBatch(LPDDBLTBATCH, DWORD, DWORD) { return E_NOTIMPL; }
HRESULT FakeSurface::BltFast(DWORD, DWORD, LPDIRECTDRAWSURFACE, LPRECT, DWORD) { return E_NOTIMPL; }
HRESULT FakeSurface::DeleteAttachedSurface(DWORD, LPDIRECTDRAWSURFACE) { return E_NOTIMPL; }
HRESULT FakeSurface::EnumAttachedSurfaces(LPVOID, LPDDENUMSURFACESCALLBACK) { return E_NOTIMPL; }
HRESULT FakeSurface::EnumOverlayZOrders(DWORD, LPVOID, LPDDENUMSURFACESCALLBACK) {
    return E_NOTIMPL;
}
HRESULT FakeSurface::GetAttachedSurface(LPDDSCAPS, LPDIRECTDRAWSURFACE*) { return E_NOTIMPL; }
HRESULT FakeSurface::GetBltStatus(DWORD) { return E_NOTIMPL; }
HRESULT FakeSurface::GetCaps(LPDDSCAPS) { return E_NOTIMPL; }
HRESULT FakeSurface::GetClipper(LPDIRECTDRAWCLIPPER*) { return E_NOTIMPL; }
HRESULT FakeSurface::GetColorKey(DWORD, LPDDCOLORKEY) { return E_NOTIMPL; }
HRESULT FakeSurface::GetFlipStatus(DWORD) { return E_NOTIMPL; }
HRESULT FakeSurface::GetOverlayPosition(LPLONG, LPLONG) { return E_NOTIMPL; }
HRESULT FakeSurface::GetPalette(LPDIRECTDRAWPALETTE*) { return E_NOTIMPL; }
HRESULT FakeSurface::GetPixelFormat(LPDDPIXELFORMAT) { return E_NOTIMPL; }
HRESULT FakeSurface::GetSurfaceDesc(LPDDSURFACEDESC) { return E_NOTIMPL; }
HRESULT FakeSurface::Initialize(LPDIRECTDRAW, LPDDSURFACEDESC) { return E_NOTIMPL; }
HRESULT FakeSurface::IsLost() { return DD_OK; }
HRESULT FakeSurface::Lock(LPRECT, LPDDSURFACEDESC, DWORD, HANDLE) { return E_NOTIMPL; }
HRESULT FakeSurface::SetClipper(LPDIRECTDRAWCLIPPER) { return E_NOTIMPL; }
HRESULT FakeSurface::SetColorKey(DWORD, LPDDCOLORKEY) { return E_NOTIMPL; }
HRESULT FakeSurface::SetOverlayPosition(LONG, LONG) { return E_NOTIMPL; }
HRESULT FakeSurface::SetPalette(LPDIRECTDRAWPALETTE) { return E_NOTIMPL; }
HRESULT FakeSurface::Unlock(LPVOID) { return E_NOTIMPL; }
HRESULT FakeSurface::UpdateOverlay(LPRECT, LPDIRECTDRAWSURFACE, LPRECT, DWORD, LPDDOVERLAYFX) {
    return E_NOTIMPL;
}
HRESULT FakeSurface::UpdateOverlayDisplay(DWORD) { return E_NOTIMPL; }
HRESULT FakeSurface::UpdateOverlayZOrder(DWORD, LPDIRECTDRAWSURFACE) { return E_NOTIMPL; }
