#include "panel/item_panel_layout.h"
