// GDI+'s header in the order it needs: after windows.h and objidl.h, with min
// and max as the Windows headers once defined them.
#pragma once

#include <windows.h>
// (after windows.h, which it needs)
#include <objidl.h>

#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>
