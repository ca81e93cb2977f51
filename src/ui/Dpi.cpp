#include "ui/Dpi.h"

#include "win/Handles.h"

namespace quenby::ui {

int SystemDpi() {
    static const int dpi = [] {
        const TWindowDC screen(nullptr);
        const int value = screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
        return value > 0 ? value : 96;
    }();
    return dpi;
}

int Scale(int pixels) { return MulDiv(pixels, SystemDpi(), 96); }

TBounds Scale(const TBounds& bounds) {
    return {Scale(bounds.Left), Scale(bounds.Top), Scale(bounds.Width), Scale(bounds.Height)};
}

}  // namespace quenby::ui
