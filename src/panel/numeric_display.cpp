#include "panel/numeric_display.h"
