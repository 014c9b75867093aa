#pragma once
// A stand-in for a DirectDraw surface where the real one cannot be made to do
// what a test needs: a flip that fails, a device context that the test holds
// and inspects, or no device context at all. It counts the calls the display
// framework makes; drawing goes to a 640x480 32-bit memory bitmap.
#include <deque>

#include "framework/display/directx.h"

class FakeSurface : public IDirectDrawSurface {
public:
    FakeSurface();
    ~FakeSurface();
    FakeSurface(const FakeSurface&) = delete;
    FakeSurface& operator=(const FakeSurface&) = delete;

    // What the test sets.
    bool giveDc = true;                  // false: GetDC fails as on a lost surface
    std::deque<HRESULT> flipResults;     // taken one per Flip; DD_OK once empty

    // What the test reads.
    int getDcCalls = 0;
    int releaseDcCalls = 0;
    int colorFills = 0;
    DWORD lastFillColor = 0xFFFFFFFF;
    int flips = 0;
    int restores = 0;
    int releases = 0;
    HDC dc = nullptr;  // the memory context handed out by GetDC

    // IUnknown
    STDMETHOD(QueryInterface)(REFIID, void**) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    // What the framework calls.
    STDMETHOD(Blt)(LPRECT, LPDIRECTDRAWSURFACE, LPRECT, DWORD, LPDDBLTFX) override;
    STDMETHOD(Flip)(LPDIRECTDRAWSURFACE, DWORD) override;
    STDMETHOD(GetDC)(HDC*) override;
    STDMETHOD(ReleaseDC)(HDC) override;
    STDMETHOD(Restore)() override;
    // The rest answer E_NOTIMPL.
    STDMETHOD(AddAttachedSurface)(LPDIRECTDRAWSURFACE) override;
    STDMETHOD(AddOverlayDirtyRect)(LPRECT) override;
    STDMETHOD(BltBatch)(LPDDBLTBATCH, DWORD, DWORD) override;
    STDMETHOD(BltFast)(DWORD, DWORD, LPDIRECTDRAWSURFACE, LPRECT, DWORD) override;
    STDMETHOD(DeleteAttachedSurface)(DWORD, LPDIRECTDRAWSURFACE) override;
    STDMETHOD(EnumAttachedSurfaces)(LPVOID, LPDDENUMSURFACESCALLBACK) override;
    STDMETHOD(EnumOverlayZOrders)(DWORD, LPVOID, LPDDENUMSURFACESCALLBACK) override;
    STDMETHOD(GetAttachedSurface)(LPDDSCAPS, LPDIRECTDRAWSURFACE*) override;
    STDMETHOD(GetBltStatus)(DWORD) override;
    STDMETHOD(GetCaps)(LPDDSCAPS) override;
    STDMETHOD(GetClipper)(LPDIRECTDRAWCLIPPER*) override;
    STDMETHOD(GetColorKey)(DWORD, LPDDCOLORKEY) override;
    STDMETHOD(GetFlipStatus)(DWORD) override;
    STDMETHOD(GetOverlayPosition)(LPLONG, LPLONG) override;
    STDMETHOD(GetPalette)(LPDIRECTDRAWPALETTE*) override;
    STDMETHOD(GetPixelFormat)(LPDDPIXELFORMAT) override;
    STDMETHOD(GetSurfaceDesc)(LPDDSURFACEDESC) override;
    STDMETHOD(Initialize)(LPDIRECTDRAW, LPDDSURFACEDESC) override;
    STDMETHOD(IsLost)() override;
    STDMETHOD(Lock)(LPRECT, LPDDSURFACEDESC, DWORD, HANDLE) override;
    STDMETHOD(SetClipper)(LPDIRECTDRAWCLIPPER) override;
    STDMETHOD(SetColorKey)(DWORD, LPDDCOLORKEY) override;
    STDMETHOD(SetOverlayPosition)(LONG, LONG) override;
    STDMETHOD(SetPalette)(LPDIRECTDRAWPALETTE) override;
    STDMETHOD(Unlock)(LPVOID) override;
    STDMETHOD(UpdateOverlay)(LPRECT, LPDIRECTDRAWSURFACE, LPRECT, DWORD, LPDDOVERLAYFX) override;
    STDMETHOD(UpdateOverlayDisplay)(DWORD) override;
    STDMETHOD(UpdateOverlayZOrder)(DWORD, LPDIRECTDRAWSURFACE) override;

private:
    HBITMAP bitmap = nullptr;
    HGDIOBJ originalBitmap = nullptr;
};
