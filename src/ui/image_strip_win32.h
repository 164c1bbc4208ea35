#pragma once
// Toolbar pictures: a horizontal strip of square 32-bit pictures in a BITMAP
// resource, scaled to the DPI and put into an image list.

#include <windows.h>
#include <commctrl.h>

namespace wmb {

// Each picture gets `top_margin` transparent rows above it. nullptr when the
// resource is missing.
HIMAGELIST load_image_strip(int resource_id, int source_size, int target_size, int top_margin = 0);

}  // namespace wmb
