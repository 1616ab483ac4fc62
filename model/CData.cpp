#include "model/CData.h"

IMPLEMENT_SERIAL(CData, CObject, 0)
