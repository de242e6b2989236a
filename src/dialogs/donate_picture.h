#pragma once

#include <windows.h>

#include "ui/handles.h"

// GDI+ running for as long as this object lives.
class GdiplusSession {
public:
    GdiplusSession();
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

    [[nodiscard]] bool Started() const { return started_; }

private:
    ULONG_PTR token_ = 0;
    bool started_ = false;
};

// The donation picture, decoded from the executable's resources.
struct DonatePicture {
    UniqueBitmap bitmap;
    int width = 0;
    int height = 0;
};

// The PNG of RCDATA resource 102 as a bitmap over opaque white. An empty bitmap
// when the resource is missing or empty or cannot be decoded. Needs a GdiplusSession.
[[nodiscard]] DonatePicture LoadDonatePicture();
