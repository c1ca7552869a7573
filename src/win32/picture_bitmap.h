// The desktop core's vector pictures as Win32 bitmaps and icons: the shapes as the core
// rasterises them, the texts drawn with GDI's fonts and laid over them.
#pragma once

#include <windows.h>

#include "desktop/vector_picture.h"

namespace rsf::win32 {

// A 32-bit top-down DIB section of the picture at `scale` device pixels per picture unit, blue,
// green, red and straight alpha, as image lists take them. The caller deletes it.
HBITMAP PictureBitmap(const desktop::VectorPicture& picture, double scale);

// The picture as an icon `size` pixels square (a 16-unit picture at size / 16). The caller
// destroys it.
HICON PictureIcon(const desktop::VectorPicture& picture, int size);

}  // namespace rsf::win32
