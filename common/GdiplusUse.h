// GDI+ for the whole process: started by its first user and shut down when the last one lets go, from any
// thread. Every program and test that draws with GDI+ starts it here.
#pragma once

// False when GDI+ could not be started; the caller then holds no use to release.
bool AcquireGdiplus();
void ReleaseGdiplus();

// One use of GDI+ for the life of the object.
class GdiplusUse {
public:
    GdiplusUse() : started_(AcquireGdiplus()) {}
    ~GdiplusUse() {
        if (started_) ReleaseGdiplus();
    }
    GdiplusUse(const GdiplusUse&) = delete;
    GdiplusUse& operator=(const GdiplusUse&) = delete;
    bool Started() const { return started_; }

private:
    bool started_;
};
