// A user library with an "OnPaint" function, as screen authors write them
// ("OrvoTestPaint.dll, PaintBackdrop"). It paints the object's rectangle blue before the
// event's primitives draw; the drawing functions come from the test program.
#include "platform/gui/dc.h"
#include "ui/paint_target.h"

extern "C" __attribute__((visibility("default"))) void PaintBackdrop(CDC* dc,
                                                                     orvo::PaintTarget* object) {
    if (dc && object)
        dc->FillSolidRect(object->PaintRect(), RGB(0, 0, 255));
}
