// Reading screen pixels from the X server, apart from the rest of the
// tests: Xlib's macros clash with names of ours.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <wx/gdicmn.h>
#include <wx/image.h>

#include <algorithm>

namespace ulk::testing {

wxImage CaptureScreenRect(const wxRect& rect) {
  const int width = std::max(rect.width, 1);
  const int height = std::max(rect.height, 1);
  wxImage out(width, height);
  Display* display = XOpenDisplay(nullptr);
  if (!display) return out;
  XImage* image =
      XGetImage(display, DefaultRootWindow(display), rect.x, rect.y, static_cast<unsigned>(width),
                static_cast<unsigned>(height), AllPlanes, ZPixmap);
  if (image) {
    const auto channel = [](unsigned long pixel, unsigned long mask) {
      int shift = 0;
      while (mask && !(mask & 1)) {
        mask >>= 1;
        ++shift;
      }
      return static_cast<unsigned char>(mask ? ((pixel >> shift) & mask) * 255 / mask : 0);
    };
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const unsigned long pixel = XGetPixel(image, x, y);
        out.SetRGB(x, y, channel(pixel, image->red_mask), channel(pixel, image->green_mask),
                   channel(pixel, image->blue_mask));
      }
    }
    XDestroyImage(image);
  }
  XCloseDisplay(display);
  return out;
}

}  // namespace ulk::testing
