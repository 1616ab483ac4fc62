#pragma once
// Cursor pictures as data: 32 rows of 32 characters each, with the hot spot.

struct CursorResource {
    unsigned id;
    const char* const* picture; // '#' black, '.' white, ' ' transparent
    int hotSpotX;
    int hotSpotY;
};

// The cursor with this resource id, or null.
const CursorResource* FindCursorResource(unsigned id);
