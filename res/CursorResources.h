#pragma once
// The program's cursor pictures, as the framework's resource tables hold them.

#include "platform/res/AfxResource.h"

#include <span>

std::span<const CursorResource> CursorTable();
